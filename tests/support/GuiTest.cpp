// Shared set-up of the GUI tests.
#include "GuiTest.h"

#include "platform/Paths.h"

#include <QApplication>
#include <QFile>

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

} // namespace vltest
