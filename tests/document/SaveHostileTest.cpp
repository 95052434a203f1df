// Hostile files on the ways in and out (those given to open are App's): pipes and devices as logos and
// help, names the batch file cannot carry, save targets that must not be replaced, saves cut short.
#include "app/AppFixture.h"
#include "model/Rules.h"
#include "platform/HelpWindow.h"

#include <QAction>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vltest;

namespace
{

const QString kUnableToSave = QStringLiteral("Unable to save the file %1.\n%2");

// Runs a shell command in folder; true when it succeeds.
bool Sh(const QString& folder, const char* command)
{
    return std::system(("cd '" + QFile::encodeName(folder) + "' && " + command).constData()) == 0;
}

} // namespace

using Hostile = AppTest;

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
    const QString unsafe =
        QStringLiteral("The file name cannot be written into the batch file.\nUse no blanks, "
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
        if (n > 5 && geteuid() != 0)
            continue;
        const QString dir = Path("r") + QString::number(n) + QLatin1Char('/');
        const QString target = dir + QString::fromStdString(name);
        ASSERT_TRUE(QDir().mkpath(dir) && Sh(dir, *make ? make : "true"));
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        ASSERT_TRUE(m_doc->OnNewDocument());
        // Row 4: the configuration is saved, the batch file is not.
        EXPECT_EQ(m_doc->DoSave(target), !*reason || n == 4);
        const QString message = n == 4 ? QStringLiteral("Unable to write the batch file %1.\n%2")
                                             .arg(dir + QStringLiteral("MENU.bat"), QLatin1String(reason))
                                : *reason ? kUnableToSave.arg(target, QLatin1String(reason))
                                          : kSavedInfo;
        EXPECT_EQ(TakeMessages(), QStringList{message});
        EXPECT_TRUE(Sh(dir, kept) && Sh(dir, "! ls -A | grep -q '^[.]'"))
            << "changed, or a temporary file left";
    }
}

// One save, two ways in: `vlconfig --write-batch X.ini`, and Ctrl+S in the window showing X.ini; both
// replace X.bat. Each save runs in a process of its own whose standard output is the file "out", so
// that a row can kill it or stop it at a named step (VLCONFIG_SAVE_FAULTS). A stopped save waits
// while X.cfg's batch file, also X.bat, is written whole.
TEST_F(Hostile, savesInstallTheirOwnBytesWholeOrFailAndLeaveNothing)
{
    const struct {
        const char* make;   // in the folder, beside X.ini and X.cfg; $OTHER runs a command as another user
        const char* faults; // of the save
        const char* reason; // why X.bat is not written: "" when it is, none when the save is killed
        const char* after;  // holds in the folder afterwards
    } rows[] = {
        // A file with another name is replaced whole, and the other name keeps the old bytes; a save
        // killed while it writes leaves both as they were.
        {"echo OLD >X.bat && ln X.bat B", "", "", "grep -qx OLD B && grep -q TOOLS.BAT X.bat"},
        {"echo OLD >X.bat && ln X.bat B", "X.bat:write=kill", nullptr,
         "grep -qx OLD B && grep -qx OLD X.bat"},
        // Two saves at once each install their own bytes; a name taken in advance blocks nothing.
        {"echo OLD >X.bat", "X.bat:rename=stop", "", "grep -q TOOLS.BAT X.bat"},
        {"echo OLD >X.bat && chmod 1777 . && $OTHER mkdir .vlw4CfToqLA8", "", "", "grep -q TOOLS.BAT X.bat"},
        // Extended attributes and access control lists are kept.
        {"echo OLD >X.bat && setfattr -n user.vl -v kept X.bat && setfacl -m u:65534:rw X.bat", "", "",
         "getfattr -n user.vl X.bat | grep -q kept && getfacl -n X.bat | grep -q user:65534:rw-"},
        // Without unnamed files (EOPNOTSUPP), a failing write (ENOSPC) removes the named one.
        {"echo OLD >X.bat", "X.bat:unnamed=95,X.bat:write=28", "No space left on device",
         "grep -qx OLD X.bat"},
        // A link into /proc, here to the saving process's standard output, is refused.
        {"ln -s /proc/self/fd/1 X.bat", "", "Permission denied", "! grep -q echo ../out"},
    };
    setenv("OTHER", geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "", 1);
    ASSERT_EQ(chmod(QFile::encodeName(TempPath()).constData(), 0755), 0);
    const std::string out = QFile::encodeName(Path("out")).toStdString();
    QStringList skipped;
    for (int n = 0; n < int(std::size(rows)) * 2; ++n) {
        const auto& [make, faults, reason, after] = rows[n / 2];
        const bool window = n % 2;
        SCOPED_TRACE(testing::Message() << make << (window ? ", Ctrl+S" : ", --write-batch"));
        const QString dir = Path("r") + QString::number(n) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(dir));
        WriteFile(dir.mid(TempPath().size() + 1) + QStringLiteral("X.ini"), SmallConfig());
        WriteFile(dir.mid(TempPath().size() + 1) + QStringLiteral("X.cfg"), kOtherConfig);
        if (!Sh(dir, make)) {
            ASSERT_TRUE(strstr(make, "setf")) << "the set-up failed";
            skipped << QStringLiteral("extended attributes (the file system takes none)");
            continue;
        }
        ASSERT_TRUE(Sh(dir, "ls -A >../before") && (!window || Start({dir + QStringLiteral("X.ini")})));
        const pid_t saver = fork();
        if (saver == 0) {
            const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            setenv("VLCONFIG_SAVE_FAULTS", faults, 1);
            if (dup2(fd, 1) < 0 || dup2(fd, 2) < 0 || chdir(QFile::encodeName(dir).constData()) != 0)
                _exit(126);
            if (!window)
                _exit(execl(VLCONFIG_PROGRAM, "vlconfig", "--write-batch", "X.ini", nullptr));
            Key(Qt::Key_S, Qt::ControlModifier);
            const QByteArray shown = TakeMessages().join(QLatin1Char('|')).toLocal8Bit();
            _exit(write(1, shown.data(), size_t(shown.size())) == shown.size() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(saver, &status, WUNTRACED), saver);
        if (strstr(faults, "stop")) {
            EXPECT_TRUE(Sh(dir, "'" VLCONFIG_PROGRAM "' --write-batch X.cfg"));
        }
        if (WIFSTOPPED(status) && kill(saver, SIGCONT) == 0) {
            ASSERT_EQ(waitpid(saver, &status, 0), saver);
        }
        const QString batch = window ? dir + QStringLiteral("X.bat") : QStringLiteral("X.bat");
        const QString refusal = QLatin1String(window ? "Unable to write the batch file %1.\n%2"
                                                     : "X.ini: Unable to write the batch file %1. %2\n")
                                    .arg(batch, QLatin1String(reason));
        if (!reason)
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "wait status " << status;
        else
            EXPECT_EQ(std::pair(status, QString::fromLocal8Bit(ReadFile(Path("out")))),
                      std::pair(*reason && !window ? 256 : 0, *reason  ? refusal
                                                              : window ? kSavedInfo
                                                                       : QString()));
        EXPECT_TRUE(Sh(dir, after));
        EXPECT_TRUE(Sh(dir, "ls -A | diff -q - ../before")) << "a temporary file left";
    }
    if (!skipped.isEmpty())
        GTEST_SKIP() << skipped.join(QLatin1String(", ")).toStdString();
}
