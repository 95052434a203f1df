// Shared set-up of the GUI tests.
#include "GuiTest.h"

#include "platform/Paths.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace vltest
{

void GuiTest::SetUp()
{
    ASSERT_TRUE(m_temp.isValid());
    m_savedCurrentDir = platform::CurrentDirectory();
    platform::SetMessageService(&m_messages);
    platform::SetFileDialogService(&m_dialogs);
}

void GuiTest::TearDown()
{
    EXPECT_TRUE(m_messages.Unexpected().isEmpty())
        << "unanswered question: " << m_messages.Unexpected().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(m_messages.Pending().isEmpty())
        << "message box the test did not expect: "
        << m_messages.TakeTexts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(m_messages.QueuedAnswers(), 0) << "a queued answer was never asked for";
    EXPECT_EQ(m_dialogs.Unexpected(), 0) << "file dialog the test did not answer";
    EXPECT_EQ(m_dialogs.QueuedAnswers(), 0) << "a queued file dialog answer was never asked for";
    platform::SetMessageService(nullptr);
    platform::SetFileDialogService(nullptr);
    platform::SetProgramFolderOverride(QString());
    platform::SetCurrentDirectory(m_savedCurrentDir);
}

QString GuiTest::WriteFile(const QString& name, const QByteArray& bytes) const
{
    const QString path = m_temp.path() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << path.toStdString();
    file.write(bytes);
    return path;
}

QByteArray GuiTest::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void ProcessEvents()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void Click(QWidget* widget, QPoint pos, Qt::MouseButton button)
{
    ASSERT_NE(widget, nullptr);
    QWidget* window = widget->window();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    if (pos == QPoint(-1, -1))
        pos = widget->rect().center();
    QTest::mouseClick(window->windowHandle(), button, {}, widget->mapTo(window, pos));
    ProcessEvents();
}

void Press(const QKeySequence& keys)
{
    QWidget* target =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    EXPECT_NE(target, nullptr);
    if (target)
        QTest::keySequence(target, keys);
    ProcessEvents();
}

bool ChooseFromMenu(QWidget* window, QAction* item)
{
    auto* main = qobject_cast<QMainWindow*>(window);
    for (QAction* title : main ? main->menuBar()->actions() : QList<QAction*>()) {
        QMenu* menu = title->menu();
        if (!menu || !menu->actions().contains(item))
            continue;
        Click(main->menuBar(), main->menuBar()->actionGeometry(title).center());
        if (!QTest::qWaitForWindowExposed(menu))
            return false;
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, menu->actionGeometry(item).center());
        ProcessEvents();
        return true;
    }
    return false;
}

} // namespace vltest
