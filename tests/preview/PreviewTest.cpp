// Preview end to end: document, process service, DOSBox or COMSPEC, batch file, launcher; the wait.
#include "app/AppFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

using namespace vltest;
using Wsi = QWindowSystemInterface;

const auto Q = [](const char* text) { return QString::fromUtf8(text); };

class Preview : public AppTest
{
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        qunsetenv("COMSPEC");
        ASSERT_TRUE(QDir().mkpath(Path("home")));
        qputenv("HOME", QFile::encodeName(Path("home")));
    }
    void TearDown() override
    {
        // DOSBox neither wrote nor created the user's own settings.
        EXPECT_TRUE(QDir(Path("home")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        AppTest::TearDown();
    }
    // Saves folder/name through the document: three entries (a DOS command writing "one" to R.TXT,
    // none, a batch file writing "three") beside a stand-in launcher that ends with code.
    QString SaveMenu(const char* folder, const char* name, int code)
    {
        const QString dir = TempPath() + Q("/") + Q(folder), path = dir + Q("/") + Q(name);
        EXPECT_TRUE(QDir().mkpath(dir) && QFile::copy(Q(VL_STANDIN_LAUNCHER), dir + Q("/VLLaunch.exe")));
        WriteFile(Q(folder) + Q("/VLCODE.TXT"), QByteArray::number(code));
        WriteFile(Q(folder) + Q("/ENTRY.BAT"), "echo three>R.TXT\r\n");
        const QByteArray entry = "\r\nPARENT=Velmora Products\r\nTITLE=T\r\nDESCRIPTION=\r\nPATH=";
        WriteFile(Q(folder) + Q("/") + Q(name),
                  "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Menu\r\nDESCRIPTION=Pick\r\n[One]" + entry +
                      "echo one>R.TXT\r\n[Two]" + entry + "\r\n[Three]" + entry + "ENTRY.BAT\r\n");
        EXPECT_TRUE(m_doc->OnOpenDocument(path) && m_doc->DoSave(path));
        EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
        return dir;
    }
    bool UseComspec(const QByteArray& script)
    {
        const QString path = WriteFile(Q("interpreter.sh"), "#!/bin/sh\n" + script);
        return QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner) &&
               qputenv("COMSPEC", QFile::encodeName(path));
    }
};

TEST_F(Preview, theLaunchersExitCodePicksTheEntryWhicheverInterpreterFolderOrLetterCase)
{
    const QByteArray path = qgetenv("PATH");
    const std::tuple<const char*, const char*, int, bool, bool, bool, QByteArray> cases[] = {
        // folder, configuration, exit code, COMSPEC, DOSBox on PATH, saved; what the run wrote to R.TXT
        {"c0", "MENU.ini", 0, false, true, true, ""},
        {"c1", "MENU.ini", 1, false, true, true, "one"},
        {"c2", "menu.ini", 2, false, true, true, ""},
        {"c3", "MeNu.ini", 3, false, true, true, "three"},
        {"c4 a b", "menu.ini", 4, false, true, true, "three"},
        {"q\"u$o;t&e%PATH%>x", "MENU.ini", 1, false, true, true, "one"},
        {"cs", "MENU.ini", 1, true, true, true, "/c MENU.bat"},
        {"never", "MENU.ini", 1, false, true, false, ""},
        {"none", "MENU.ini", 1, false, false, true, ""},
    };
    for (const auto& [folder, name, code, comspec, dosbox, saved, marker] : cases) {
        SCOPED_TRACE(folder);
        const QString dir = SaveMenu(folder, name, code);
        comspec ? UseComspec("echo \"$1 ${2##*/}\" >R.TXT\n") : qunsetenv("COMSPEC");
        qputenv("PATH", dosbox ? path : QFile::encodeName(m_program));
        m_doc->SetPathName(saved ? m_doc->PathName() : QString());
        platform::SetCurrentDirectory(dir);
        m_doc->OnPreview();
        const QStringList shown = TakeMessages();
        EXPECT_EQ(shown.size(), dosbox ? 0 : 1);
        EXPECT_EQ(shown.value(0).contains(Q("package dosbox")) && shown.value(0).contains(Q("COMSPEC")),
                  !dosbox);
        EXPECT_EQ(ReadFile(dir + Q("/R.TXT")).trimmed(), marker);
        // Nothing but the entry's own marker was written: the folder's name ran nothing.
        EXPECT_EQ(QDir(dir).count(), marker.isEmpty() ? 7u : 8u);
    }
    qputenv("PATH", path);
}

// A person presses F5 three times and clicks the grayed Next button while the interpreter runs, then
// asks to close the window while the batch file waits for a key in DOSBox.
TEST_F(Preview, theWaitDropsInputGivesTheFocusBackAndEndsDosBoxOnClose)
{
    const QString dir = SaveMenu("cfg", "MENU.ini", 0);
    UseComspec("echo run >>RUNS\nexec sleep 0.5\n");
    ASSERT_TRUE(Start({dir + Q("/MENU.ini")}));
    auto* title = Control<QLineEdit>("titleEdit");
    auto* next = Control<QPushButton>("nextButton");
    QWindow* window = Frame()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, title->mapTo(Frame(), title->rect().center()));
    ASSERT_EQ(QApplication::focusWidget(), title);
    const QPoint at = next->mapTo(Frame(), next->rect().center());
    bool disabled = false;
    QTimer::singleShot(0, [&] {
        disabled = !Frame()->isEnabled();
        for (int i = 0; i < 6; ++i)
            Wsi::handleKeyEvent<Wsi::AsynchronousDelivery>(
                window, i % 2 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
        for (auto [buttons, type] : {std::pair{Qt::LeftButton, QEvent::MouseButtonPress},
                                     std::pair{Qt::NoButton, QEvent::MouseButtonRelease}})
            Wsi::handleMouseEvent<Wsi::AsynchronousDelivery>(window, at, window->mapToGlobal(at), buttons,
                                                             Qt::LeftButton, type);
    });
    QTest::keyClick(title, Qt::Key_F5);
    ProcessEvents();
    EXPECT_TRUE(disabled);
    EXPECT_EQ(ReadFile(dir + Q("/RUNS")), "run\n");
    EXPECT_EQ(Frame()->CurrentPageId(), vl::kGeneralPageId);
    EXPECT_EQ(QApplication::focusWidget(), title);

    qunsetenv("COMSPEC");
    WriteFile(Q("cfg/VLCODE.TXT"), "3");
    WriteFile(Q("cfg/ENTRY.BAT"), "pause\r\n");
    QTimer::singleShot(0, [window] { Wsi::handleCloseEvent<Wsi::AsynchronousDelivery>(window); });
    QTest::keyClick(title, Qt::Key_F5);
    EXPECT_TRUE(Frame()->isVisible());
    ProcessEvents();
    EXPECT_FALSE(Frame()->isVisible());
}
