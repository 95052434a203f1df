// Preview end to end: the saved batch file run by DOSBox (or COMSPEC's interpreter) through the
// process service, the stand-in launcher's exit code picking the entry, and the editor's wait.
#include "app/AppFixture.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QPushButton>
#include <qpa/qwindowsysteminterface.h>

namespace vltest
{
namespace
{

using Wsi = QWindowSystemInterface;

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

class Preview : public AppTest
{
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        for (const char* name : {"PATH", "COMSPEC", "HOME"})
            m_env.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qunsetenv("COMSPEC");
        ASSERT_TRUE(QDir().mkpath(Path("home")));
        qputenv("HOME", QFile::encodeName(Path("home")));
    }
    void TearDown() override
    {
        // DOSBox neither wrote nor created the user's own settings.
        EXPECT_EQ(QDir(Path("home")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList());
        for (const auto& [name, value, set] : m_env)
            set ? qputenv(name, value) : qunsetenv(name);
        AppTest::TearDown();
    }
    // Saves through the document, as folder/name, a configuration of three entries (a DOS command
    // writing "one" to R.TXT, none, a batch file writing "three"), beside a stand-in launcher that
    // ends with code.
    QString SaveMenu(const char* folder, const char* name, int code)
    {
        const QString dir = TempPath() + Q("/") + Q(folder), path = dir + Q("/") + Q(name);
        EXPECT_TRUE(QDir().mkpath(dir) && QFile::copy(Q(VL_STANDIN_LAUNCHER), dir + Q("/VLLaunch.exe")));
        WriteFile(Q(folder) + Q("/VLCODE.TXT"), QByteArray::number(code));
        WriteFile(Q(folder) + Q("/ENTRY.BAT"), "echo three>R.TXT\r\n");
        const QByteArray entry = "\r\nPARENT=Velmora Products\r\nTITLE=T\r\nDESCRIPTION=\r\nPATH=";
        WriteFile(Q(folder) + Q("/") + Q(name), "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Menu\r\nDESCRIPTION=Pick\r\n[One]" + entry +
                                                    "echo one>R.TXT\r\n[Two]" + entry + "\r\n[Three]" + entry +
                                                    "ENTRY.BAT\r\n");
        EXPECT_TRUE(m_doc->OnOpenDocument(path) && m_doc->DoSave(path));
        EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
        return dir;
    }
    QString Script(const QByteArray& text) const
    {
        const QString path = WriteFile(QStringLiteral("interpreter.sh"), "#!/bin/sh\n" + text);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        return path;
    }
    std::vector<std::tuple<const char*, QByteArray, bool>> m_env;
};

TEST_F(Preview, theLaunchersExitCodePicksTheEntryInDosBoxWhateverTheFolderOrLetterCase)
{
    const std::tuple<const char*, const char*, int, QByteArray> cases[] = {
        // folder, configuration, exit code, what the entry picked wrote (none: it ran nothing)
        {"c0", "MENU.ini", 0, ""},      {"c1", "MENU.ini", 1, "one"},     {"c2", "menu.ini", 2, ""},
        {"c3", "MeNu.ini", 3, "three"}, {"c4 a b", "menu.ini", 4, "three"},
        {"q\"u$o;t&e%PATH%>x", "MENU.ini", 1, "one"},
    };
    for (const auto& [folder, name, code, marker] : cases) {
        SCOPED_TRACE(folder);
        const QString dir = SaveMenu(folder, name, code);
        m_doc->OnPreview();
        EXPECT_EQ(TakeMessages(), QStringList());
        EXPECT_EQ(ReadFile(dir + Q("/R.TXT")).trimmed(), marker);
        // Nothing but the entry's own marker was written: the folder's name ran nothing.
        EXPECT_EQ(QDir(dir).count(), marker.isEmpty() ? 7u : 8u);
    }
}

TEST_F(Preview, comspecComesFirstAndAMissingDosBoxIsNamed)
{
    const QString dir = SaveMenu("cfg", "MENU.ini", 1);
    const QString comspec = Script("echo \"$1 ${2##*/}\" >R.TXT\n");
    const std::tuple<QString, bool, QString, QByteArray> cases[] = {
        // COMSPEC, saved, where the run writes, what it writes (DOSBox runs nothing when never saved)
        {comspec, true, dir, "/c MENU.bat"},
        {comspec, false, m_program, "/c"},
        {QString(), false, m_program, ""},
    };
    for (const auto& [interpreter, saved, folder, marker] : cases) {
        qputenv("COMSPEC", QFile::encodeName(interpreter));
        if (!saved)
            m_doc->SetPathName(QString());
        platform::SetCurrentDirectory(m_program);
        m_doc->OnPreview();
        EXPECT_EQ(TakeMessages(), QStringList());
        EXPECT_EQ(ReadFile(folder + Q("/R.TXT")).trimmed(), marker);
        QFile::remove(folder + Q("/R.TXT"));
    }
    qputenv("PATH", QFile::encodeName(m_program));
    m_doc->SetPathName(dir + Q("/MENU.ini"));
    m_doc->OnPreview();
    const QStringList messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("package dosbox")) && messages[0].contains(Q("COMSPEC")));
    EXPECT_FALSE(QFile::exists(dir + Q("/R.TXT")));
}

// A person presses F5 three times and clicks the grayed Next button while the interpreter runs.
TEST_F(Preview, inputDuringTheWaitIsDroppedAndTheFocusReturns)
{
    const QString dir = SaveMenu("cfg", "MENU.ini", 0);
    qputenv("COMSPEC", QFile::encodeName(Script("echo run >>RUNS\nexec sleep 0.5\n")));
    ASSERT_TRUE(Start({dir + Q("/MENU.ini")}));
    auto* title = Control<QLineEdit>("titleEdit");
    QWindow* window = Frame()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, title->mapTo(Frame(), title->rect().center()));
    ASSERT_EQ(QApplication::focusWidget(), title);
    auto* next = Control<QPushButton>("nextButton");
    const QPoint at = next->mapTo(Frame(), next->rect().center());
    bool disabled = false;
    QTimer::singleShot(0, [&] {
        disabled = !Frame()->isEnabled();
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease, QEvent::KeyPress, QEvent::KeyRelease,
                                  QEvent::KeyPress, QEvent::KeyRelease})
            Wsi::handleKeyEvent<Wsi::AsynchronousDelivery>(window, type, Qt::Key_F5, Qt::NoModifier);
        Wsi::handleMouseEvent<Wsi::AsynchronousDelivery>(window, at, window->mapToGlobal(at), Qt::LeftButton,
                                                         Qt::LeftButton, QEvent::MouseButtonPress);
        Wsi::handleMouseEvent<Wsi::AsynchronousDelivery>(window, at, window->mapToGlobal(at), Qt::NoButton,
                                                         Qt::LeftButton, QEvent::MouseButtonRelease);
    });
    QTest::keyClick(title, Qt::Key_F5);
    ProcessEvents();
    EXPECT_TRUE(disabled);
    EXPECT_EQ(ReadFile(dir + Q("/RUNS")), "run\n");
    EXPECT_EQ(Frame()->CurrentPageId(), vl::kGeneralPageId);
    EXPECT_EQ(QApplication::focusWidget(), title);
}

// The window is asked to close while the batch file waits for a key in DOSBox.
TEST_F(Preview, closingDuringTheWaitEndsDosBoxAndThenCloses)
{
    const QString dir = SaveMenu("cfg", "MENU.ini", 3);
    WriteFile(QStringLiteral("cfg/ENTRY.BAT"), "pause\r\n");
    ASSERT_TRUE(Start({dir + Q("/MENU.ini")}));
    QTimer::singleShot(0, [this] { Wsi::handleCloseEvent<Wsi::AsynchronousDelivery>(Frame()->windowHandle()); });
    QTest::keyClick(Frame(), Qt::Key_F5);
    EXPECT_TRUE(Frame()->isVisible());
    ProcessEvents();
    EXPECT_FALSE(Frame()->isVisible());
}

} // namespace
} // namespace vltest
