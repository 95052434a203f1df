// Preview end to end: document, process service, DOSBox or COMSPEC, batch file, the DOS stand-ins;
// the wait, and signals during it.
#include "app/AppFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
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
        ASSERT_TRUE(QDir().mkpath(Path("home")) && QDir().mkpath(m_program + Q("dos")));
        qputenv("HOME", QFile::encodeName(Path("home")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Path("home/.config"))); // for DOSBox: ours are set apart
        for (const char* name : {"VLLAUNCH.EXE", "MOUSE.COM", "VLDONE.COM"})
            ASSERT_TRUE(QFile::copy(Q(VL_DOS_STANDINS "/") + Q(name), m_program + Q("dos/") + Q(name)));
        // The keys of each run come from a file in the configuration's folder.
        qputenv("VLKEYS", "C:\\KEYS.TXT");
    }
    void TearDown() override
    {
        // DOSBox wrote neither the user's own settings nor, with the sound off, the sound server's.
        EXPECT_TRUE(QDir(Path("home")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        qunsetenv("VLKEYS");
        AppTest::TearDown();
    }
    // Saves folder/name through the document: entries One (a DOS command writing "one" to R.TXT),
    // Two (no program; it opens the list of Four, writing "four") and Three (a batch file writing
    // "three"), and the keys for the stand-in launcher.
    QString SaveMenu(const char* folder, const char* name, const char* keys)
    {
        const QString dir = TempPath() + Q("/") + Q(folder), path = dir + Q("/") + Q(name);
        EXPECT_TRUE(QDir().mkpath(dir));
        WriteFile(Q(folder) + Q("/KEYS.TXT"), keys);
        WriteFile(Q(folder) + Q("/ENTRY.BAT"), "echo three>R.TXT\r\n");
        const QByteArray entry = "\r\nPARENT=Velmora Products\r\nTITLE=T\r\nDESCRIPTION=\r\nPATH=";
        WriteFile(Q(folder) + Q("/") + Q(name),
                  "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Menu\r\nDESCRIPTION=Pick\r\n[One]" + entry +
                      "echo one>R.TXT\r\n[Two]" + entry + "\r\n[Three]" + entry +
                      "ENTRY.BAT\r\n[Four]\r\nPARENT=Two\r\nPATH=echo four>R.TXT\r\n");
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

TEST_F(Preview, theEntryPickedInTheStandInRunsWhicheverInterpreterFolderOrLetterCase)
{
    const QByteArray path = qgetenv("PATH");
    const struct {
        const char *folder, *name, *keys;
        bool comspec = false, dosbox = true, saved = true, ownLauncher = false;
        QByteArray marker; // what the run wrote to R.TXT
        QString message = {};
    } cases[] = {
        {"c0", "MENU.ini", "Esc Enter", false, true, true, false, ""},
        {"c1", "MENU.ini", "Enter", false, true, true, false, "one"},
        {"c2", "menu.ini", "Down Enter Enter", false, true, true, false, "four"},
        {"c3", "MeNu.ini", "Down Enter Esc Down Enter", false, true, true, false, "three"},
        {"c4 a b", "menu.ini", "Up Down Down Down Down Enter", false, true, true, false, "three"},
        {"q\"u$o;t&e%PATH%>x", "MENU.ini", "Enter", false, true, true, false, "one"},
        {"own", "MENU.ini", "Enter", false, true, true, true, ""},
        {"cs", "MENU.ini", "", true, true, true, false, "/c MENU.bat"},
        {"never", "MENU.ini", "Enter", false, true, false, false, "", Q("File not yet saved.")},
        {"none", "MENU.ini", "Enter", false, false, true, false, "",
         Q("Unable to find DOSBox to run the batch file.\nInstall the Debian package dosbox, or set COMSPEC "
           "to the command interpreter to use.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const QString dir = SaveMenu(c.folder, c.name, c.keys);
        // A launcher of the configuration's own (one that ends at once with 0) comes before the stand-in.
        ASSERT_TRUE(!c.ownLauncher || QFile::copy(m_program + Q("dos/MOUSE.COM"), dir + Q("/VLLaunch.exe")));
        c.comspec ? UseComspec("echo \"$1 ${2##*/}\" >R.TXT\n") : qunsetenv("COMSPEC");
        qputenv("PATH", c.dosbox ? path : QFile::encodeName(m_program));
        m_doc->SetPathName(c.saved ? m_doc->PathName() : QString());
        const uint files = QDir(dir).count();
        m_doc->OnPreview();
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(ReadFile(dir + Q("/R.TXT")).trimmed(), c.marker);
        // Nothing but the entry's own marker was written: the folder's name ran nothing.
        EXPECT_EQ(QDir(dir).count(), files + (c.marker.isEmpty() ? 0 : 1));
    }
    qputenv("PATH", path);
}

// A person presses F5 three times and clicks the grayed Next button while the interpreter runs, then
// asks to close the window while the stand-in launcher waits for a key in DOSBox.
TEST_F(Preview, theWaitDropsInputGivesTheFocusBackAndEndsDosBoxOnClose)
{
    const QString dir = SaveMenu("cfg", "MENU.ini", "");
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
    qunsetenv("VLKEYS");
    QTimer::singleShot(0, [window] { Wsi::handleCloseEvent<Wsi::AsynchronousDelivery>(window); });
    QTest::keyClick(title, Qt::Key_F5);
    EXPECT_TRUE(Frame()->isVisible());
    ProcessEvents();
    EXPECT_FALSE(Frame()->isVisible());
}

// SIGTERM, SIGHUP or SIGINT while Preview waits end DOSBox (here one that would wait a minute),
// remove the settings file from TMPDIR, and then end the editor as the signal asks.
TEST_F(Preview, aSignalEndsDosBoxAndRemovesTheSettingsBeforeTheEditorEnds)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    const QString pid = Path("dosbox.pid"), tmp = Path("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp) && QDir().mkpath(Path("bin")));
    // It lets go of the files it was given, so that a DOSBox left running does not keep the test waiting.
    const QString dosbox = WriteFile(Q("bin/dosbox"), "#!/bin/bash\necho $$ >'" + QFile::encodeName(pid) +
                                                          "'\nfor f in /proc/$$/fd/*; do f=${f##*/}; eval "
                                                          "\"exec $f>&-\"; done\nexec /bin/sleep 60\n");
    ASSERT_TRUE(QFile::setPermissions(dosbox, QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(Path("bin")));
    qputenv("TMPDIR", QFile::encodeName(tmp));
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        QFile::remove(pid);
        EXPECT_EXIT(
            {
                SaveMenu("cfg", "MENU.ini", "");
                QTimer started;
                started.callOnTimeout([&] {
                    if (QFile::exists(pid))
                        std::raise(signal);
                });
                started.start(5);
                m_doc->OnPreview();
            },
            testing::KilledBySignal(signal), "");
        const QByteArray id = ReadFile(pid).trimmed();
        EXPECT_FALSE(id.isEmpty());
        // Ended: gone, or a zombie, which has no command line.
        EXPECT_EQ(ReadFile(Q("/proc/") + QString::fromLatin1(id) + Q("/cmdline")), "") << signal;
        EXPECT_TRUE(QDir(tmp).isEmpty()) << signal;
    }
    qputenv("PATH", path);
    qunsetenv("TMPDIR");
}
