// Hostile files on the ways in and out: pipes, devices, huge and CR-only files given to open, names the
// batch file cannot carry, save targets that must not be replaced, and saves that are cut short.
#include "app/AppFixture.h"
#include "model/Rules.h"
#include "platform/HelpWindow.h"

#include <QAction>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vltest;

namespace
{

const QString kBadLine = QStringLiteral("This file is not containing any valid keys to read..!!");
const QString kUnableToSave = QStringLiteral("Unable to save the file %1.\n%2");

// Runs a shell command in folder; true when it succeeds.
bool Sh(const QString& folder, const char* command)
{
    return std::system(("cd '" + QFile::encodeName(folder) + "' && " + command).constData()) == 0;
}

} // namespace

using Hostile = AppTest;

TEST_F(Hostile, openingNeverBlocksNorReadsWithoutEndWhicheverWayTheFileComes)
{
    // Made in the test's folder as "f": a pipe, a device, a file over 64 MiB, a file of CR-only line ends.
    const std::pair<const char*, QString> files[] = {
        {"mkfifo f", kCannotOpen},
        {"ln -s /dev/zero f", kCannotOpen},
        {"{ printf '[A]\\r\\n'; head -c 67108864 /dev/zero | tr '\\0' '\\n'; } >f", kBadLine},
        {"printf '[A]\\rTITLE=a\\r[B]\\rTITLE=b\\r' >f", kBadLine},
    };
    enum Way { CommandLine, OpenKey, RecentFile, Template };
    const QString file = Path("f");
    for (const auto& [make, message] : files) {
        ASSERT_TRUE(Sh(TempPath(), "rm -f f") && Sh(TempPath(), make));
        for (Way way : {CommandLine, OpenKey, RecentFile, Template}) {
            SCOPED_TRACE(testing::Message() << make << ", way " << way);
            platform::RecentFileList recent;
            recent.Add(file);
            recent.Save();
            if (way == CommandLine || way == Template) {
                ASSERT_TRUE(way == CommandLine || Sh(m_program, "ln -f ../f VLDefault.cfg"));
                EXPECT_FALSE(Start(way == Template ? QStringList() : QStringList{file}));
            } else {
                ASSERT_TRUE(Start());
                if (way == OpenKey)
                    AnswerDialog(file);
                way == OpenKey ? Key(Qt::Key_O, Qt::ControlModifier)
                               : Frame()->findChild<QAction*>(QStringLiteral("recentFile1Action"))->trigger();
                EXPECT_EQ(Doc()->Title(), QStringLiteral("Untitled"));
            }
            EXPECT_EQ(TakeMessages(), QStringList{message});
            EXPECT_TRUE(way == Template ||
                        !m_app->RecentFiles().Files().contains(file)); // a failed open drops it
        }
        ASSERT_TRUE(Sh(m_program, "rm VLDefault.cfg"));
        WriteFile(QStringLiteral("program/VLDefault.cfg"), SmallConfig());
    }
}

TEST_F(Hostile, logoAndHelpTakeOnlyRegularFiles)
{
    ASSERT_TRUE(Start());
    const QString pipe = Path("pipe.pcx"), zero = Path("zero.pcx");
    ASSERT_TRUE(Sh(TempPath(), "mkfifo pipe.pcx && ln -s /dev/zero zero.pcx"));
    for (const QString& logo : {pipe, zero}) {
        AnswerDialog(logo);
        Click(Control<QWidget>("browseButton"));
        EXPECT_EQ(TakeMessages(),
                  QStringList{QStringLiteral("Error:\nUnable to open the specified file..!!")});
    }
    const QString huge = WriteFile(QStringLiteral("huge.html"), QByteArray(platform::kMaxHelpBytes + 1, 'x'));
    for (const QString& help : {pipe, zero, huge})
        EXPECT_FALSE(platform::ShowHelpContents(help, Frame())) << help.toStdString();
    EXPECT_TRUE(platform::ShowHelpContents(WriteFile(QStringLiteral("ok.html"), "<p>ok</p>"), Frame()));
}

TEST_F(Hostile, saveRefusesNamesTheBatchFileCannotCarry)
{
    WriteFile(QStringLiteral("program/VLDefault.cfg"), SmallConfig());
    ASSERT_TRUE(Start());
    const QString unsafe = QStringLiteral("The file name cannot be written into the batch file.\nUse no blanks, "
                                          "no accented letters and none of & | < > ^ % \" , ; = +");
    QList<std::pair<QString, QString>> names{{QStringLiteral(".ini"), kBadExtension},
                                             {QString::fromUtf8("\xc3\xa9.ini"), unsafe}};
    for (QChar c : QStringLiteral("&|<>^%\",;=+ \t\x7f"))
        names.append({QStringLiteral("a") + c + QStringLiteral(".ini"), unsafe});
    for (const auto& [name, message] : names) {
        SCOPED_TRACE(name.toStdString());
        AnswerDialog(TempPath() + QLatin1Char('/') + name);
        Key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(TakeMessages(), QStringList{message});
        EXPECT_FALSE(QFileInfo::exists(TempPath() + QLatin1Char('/') + name));
    }
}

TEST_F(Hostile, failedSaveKeepsNameTitleModifiedFlagAndRecentFiles)
{
    const QString kept = WriteFile(QStringLiteral("KEPT.ini"), SmallConfig());
    ASSERT_TRUE(Start({kept}));
    Click(Control<QWidget>("titleEdit"));
    Key(Qt::Key_End);
    Key(Qt::Key_X);
    ASSERT_TRUE(Doc()->IsModified());
    auto state = [&] {
        return std::tuple(Frame()->windowTitle(), Doc()->PathName(), Doc()->IsModified(),
                          m_app->RecentFiles().Files());
    };
    const auto before = state();
    const QString failing = Path("nofolder/A.ini");
    AnswerDialog(failing);
    Frame()->findChild<QAction*>(QStringLiteral("saveAsAction"))->trigger();
    EXPECT_EQ(TakeMessages(),
              QStringList{kUnableToSave.arg(failing, QStringLiteral("No such file or directory"))});
    EXPECT_TRUE(state() == before) << "the title, path name, modified flag and recent files stay";
    // The next plain Save goes where the document came from.
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_TRUE(ReadFile(kept).contains("TITLE=Welcomex\r\n"));
}

TEST_F(Hostile, saveReplacesOnlyWhatItMayAndKeepsLinksOwnersAndOtherNames)
{
    // The target; what lies in its folder before the save; the reason of the refusal (empty: the save
    // succeeds); what holds afterwards. The last two rows only the superuser can set up.
    const std::tuple<std::string, const char*, const char*, const char*> rows[] = {
        {"MENU.ini", "echo OLD >MENU.ini && chmod 444 MENU.ini", "Permission denied",
         "grep -qx OLD MENU.ini"},
        {"MENU.ini", "mkfifo p && ln -s p MENU.ini", "Operation not permitted", "test -p p"},
        {"MENU.ini", "ln -s MENU.ini MENU.ini", "Too many levels of symbolic links", "test -L MENU.ini"},
        {"MENU.ini", "echo OLD >MENU.ini && ln MENU.ini B", "",
         "grep -q Welcome B && test $(stat -c %h B) = 2"},
        {"MENU.ini", "ln -s MENU.ini MENU.bat", "The batch file would replace the configuration file.",
         "grep -q Welcome MENU.ini && test -L MENU.bat"},
        {"A.ini" + std::string(250, 'x'), "", "", "grep -q Welcome A.inixx*"}, // the longest name
        {"MENU.ini", "echo OLD >MENU.ini && chown 65534:65534 MENU.ini && chmod 666 MENU.ini", "",
         "grep -q Welcome MENU.ini && test $(stat -c %u MENU.ini) = 65534"},
        {"MENU.ini", "echo OLD >v && chmod 1777 . && ln -s v MENU.ini && chown -h 65534 MENU.ini",
         "Permission denied", "grep -qx OLD v"},
    };
    WriteFile(QStringLiteral("program/VLDefault.cfg"), SmallConfig()); // a template that saves
    int n = 0;
    for (const auto& [name, make, reason, kept] : rows) {
        SCOPED_TRACE(++n);
        if (n > 6 && geteuid() != 0)
            continue;
        const QString dir = Path("r") + QString::number(n) + QLatin1Char('/');
        const QString target = dir + QString::fromStdString(name);
        ASSERT_TRUE(QDir().mkpath(dir) && Sh(dir, *make ? make : "true"));
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        ASSERT_TRUE(m_doc->OnNewDocument());
        // Row 5: the configuration is saved, the batch file is not.
        EXPECT_EQ(m_doc->DoSave(target), !*reason || n == 5);
        const QString message = n == 5 ? QStringLiteral("Unable to write the batch file %1.\n%2")
                                             .arg(dir + QStringLiteral("MENU.bat"), QLatin1String(reason))
                                : *reason ? kUnableToSave.arg(target, QLatin1String(reason))
                                          : kSavedInfo;
        EXPECT_EQ(TakeMessages(), QStringList{message});
        EXPECT_TRUE(Sh(dir, kept) && Sh(dir, "! ls -A | grep -q '^[.]'"))
            << "changed, or a temporary file left";
    }
}

TEST_F(Hostile, savesCutShortLeaveNothingBehind)
{
    // A configuration of a few megabytes, so that a save lasts long enough to be cut short.
    QByteArray big = SmallConfig();
    const QByteArray product = "[P]\r\nPARENT=Velmora Products\r\nTITLE=t\r\nPATH=p\r\nDESCRIPTION=";
    big += (product + QByteArray(900, 'd') + "\r\n").repeated(2000);
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("big.ini"), big)}));
    const QString dir = Path("out/"), target = dir + QStringLiteral("MENU.ini");
    ASSERT_TRUE(QDir().mkpath(dir));

    // Over a file-size limit the save fails with its reason, and the program goes on.
    const pid_t limited = fork();
    if (limited == 0) {
        const rlimit limit{4096, 4096};
        const bool refused = setrlimit(RLIMIT_FSIZE, &limit) == 0 && !Doc()->DoSave(target);
        const QString expected = kUnableToSave.arg(target, QStringLiteral("File too large"));
        _exit(refused && TakeMessages() == QStringList{expected} ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(limited, &status, 0), limited);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    EXPECT_TRUE(Sh(dir, "test -z \"$(ls -A)\""));

    ASSERT_TRUE(Doc()->DoSave(target));
    TakeMessages();
    for (int round = 0; round < 20; ++round) {
        const pid_t saver = fork();
        if (saver == 0) {
            for (;;)
                Doc()->DoFileSave();
        }
        usleep(static_cast<useconds_t>(500 + 1500 * (round % 10)));
        kill(saver, round % 2 ? SIGKILL : SIGTERM);
        waitpid(saver, nullptr, 0);
    }
    // A kill in the moment between naming the new file and its rename may leave that one name, which
    // the next save of the file takes back.
    ASSERT_TRUE(Doc()->DoFileSave());
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_TRUE(Sh(dir, "test \"$(ls -A | xargs)\" = 'MENU.bat MENU.ini'"));
}
