// The program as a person uses it: started with a file, driven through its menus, buttons,
// fields and keys, with files opened and saved through its own dialogs.
#include "app/AppFixture.h"
#include "document/CommandIds.h"
#include "model/ConfigFile.h"

#include <QLineEdit>
#include <QTreeView>
#include <array>
#include <cstdlib>
#include <fstream>

using platform::MsgAnswer;
using namespace Qt::StringLiterals;
using namespace vltest;
namespace cmd = vl::cmd;

namespace
{

using App = AppTest;

// A failed start ends at once without a window and with a failure code, also for a pipe, a device, a
// file over 64 MiB (sparse: refused by its size, unread) or one of CR-only line ends; of two files, the
// first opens.
TEST_F(App, StartOpensTheFirstFileOrEndsWithoutAWindow)
{
    const QString badLine = QStringLiteral("This file is not containing any valid keys to read..!!");
    const struct {
        const char* make; // the file f in the test's folder
        QStringList arguments;
        QString message;
    } cases[] = {
        {"true", {QStringLiteral("/p"), Path("A.ini")}, {}},
        {"true", {Path("missing.ini")}, kCannotOpen},
        {"true", {WriteFile(QStringLiteral("x.BAT"), SmallConfig())}, kBadExtension},
        {"mkfifo f", {Path("f")}, kCannotOpen},
        {"rm f && ln -s /dev/zero f", {Path("f")}, kCannotOpen},
        {"rm f && printf '[A]\\r\\n' >f && truncate -s 65M f", {Path("f")}, badLine},
        {"printf '[A]\\rTITLE=a\\r[B]\\rTITLE=b\\r' >f", {Path("f")}, badLine},
    };
    for (const auto& [make, arguments, message] : cases) {
        SCOPED_TRACE(make);
        ASSERT_EQ(std::system(("cd '" + QFile::encodeName(TempPath()) + "' && " + make).constData()), 0);
        EXPECT_FALSE(Start(arguments));
        EXPECT_TRUE(!Frame() || !Frame()->isVisible());
        EXPECT_EQ(TakeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        EXPECT_EQ(m_app->ExitCode(), message.isEmpty() ? 0 : 1);
    }
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), SmallConfig()), Path("B.ini")}));
    EXPECT_EQ(Shown(), QStringLiteral("A.ini"));
}

// Files that cannot be read, or whose batch file would be the file itself, are refused with the
// reader's message; the document shown stays as it was.
TEST_F(App, OpenRefusesHostileFilesAndKeepsTheDocument)
{
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("GOOD.ini"), SmallConfig())}));
    const QString empty =
        QStringLiteral("This is an empty file ..!\nWould you like to continue with the same file?");
    const std::tuple<const char*, std::optional<QByteArray>, QString> cases[] = {
        {"MISSING.ini", std::nullopt, kCannotOpen},
        {"EMPTY.ini", QByteArray(), empty},
        {"KEY.ini", QByteArray("[G]\r\nTITL=x\r\n"),
         QStringLiteral("This file is not containing any valid keys to read..!!")},
        {".INI", SmallConfig(), kBadExtension},
        {"X.BAT", SmallConfig(), kBadExtension},
        {"menu.cfg", kOtherConfig, {}},
    };
    for (const auto& [name, bytes, message] : cases) {
        SCOPED_TRACE(name);
        if (bytes)
            WriteFile(QLatin1String(name), *bytes);
        Choose(cmd::kFileOpen, Path(name));
        EXPECT_EQ(TakeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        EXPECT_EQ(Shown(), QLatin1String(message.isEmpty() ? name : "GOOD.ini"));
        EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(),
                  QLatin1String(message.isEmpty() ? "Other" : "Welcome"));
    }
}

// Save As through the menu: the first failing rule refuses the save and nothing is written;
// otherwise the configuration and its batch file are written, the configuration byte for byte.
TEST_F(App, SaveAsRefusesInOrderOrWritesBothFiles)
{
    const QByteArray noProducts =
        "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=t\r\nDESCRIPTION=d\r\n[O]\r\nPARENT=Else\r\n";
    // The configuration opened, the name saved as, whether the save happens.
    const std::tuple<QByteArray, const char*, bool> cases[] = {
        {noProducts, "NOPROD.ini", false},       {SmallConfig(), "MENU.BAT", false},
        {SmallConfig(), "ABCDEFGHI.ini", false}, {SmallConfig(), "ABCDEF.INI", false},
        {SmallConfig(), "ABCDEFGH.ini", true},   {SmallConfig(), "AB.INI", true},
    };
    for (const auto& [config, name, saves] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Start({WriteFile(QStringLiteral("source.ini"), config)}));
        Choose(cmd::kFileSaveAs, Path(name));
        const QStringList messages = TakeMessages();
        EXPECT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.value(0) == kSavedInfo, saves);
        EXPECT_EQ(QFile::exists(Path(name)), saves);
        EXPECT_EQ(Shown(), QLatin1String(saves ? name : "source.ini"));
        if (saves) {
            EXPECT_EQ(ReadFile(Path(name)), SmallConfig());
            EXPECT_TRUE(ReadFile(Path(name).chopped(4) + QStringLiteral(".bat")).startsWith("@echo off\r\n"));
        }
    }
}

// A batch file of another configuration is replaced only when the user agrees; saving the same
// file again does not ask.
TEST_F(App, AsksBeforeReplacingAnotherBatchFile)
{
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), SmallConfig())}));
    const QByteArray foreign = "@echo foreign\r\n";
    WriteFile(QStringLiteral("MENU.bat"), foreign);
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        Answer(answer);
        Choose(cmd::kFileSaveAs, Path("MENU.ini"));
        EXPECT_EQ(TakeMessages().size(), answer == MsgAnswer::Yes ? 2 : 1); // the question, then the notice
        EXPECT_EQ(ReadFile(Path("MENU.bat")) == foreign, answer == MsgAnswer::No);
    }
    Retype(Control<QLineEdit>("titleEdit"), QStringLiteral("Again"));
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_TRUE(ReadFile(Path("MENU.ini")).contains("TITLE=Again\r\n"));
}

// The pages by mouse and keys, and the commands each offers: the General page, where Enter goes on,
// then the Product page with a group and with an entry.
TEST_F(App, PagesByMouseAndKeysAndTheirCommands)
{
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), SmallConfig())}));
    const std::pair<int, std::array<bool, 3>> states[] = {
        {cmd::kEditUndo, {1, 1, 1}},   {cmd::kEditPaste, {1, 1, 1}},  {cmd::kEditAdd, {0, 1, 0}},
        {cmd::kEditRemove, {0, 0, 1}}, {cmd::kEditRename, {0, 0, 1}}, {cmd::kMoveDown, {0, 1, 1}},
        {cmd::kViewMisc, {0, 0, 0}},   {cmd::kFileSave, {1, 1, 1}},   {cmd::kPreview, {1, 1, 1}},
    };
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        if (p == 1) {
            Click(Control<QWidget>("titleEdit"));
            Press(Qt::Key_Return);
        }
        auto* tree = Frame()->CurrentPage()->findChild<QTreeView*>();
        if (p == 2) { // the entry "Games", the last of its group
            const QModelIndex games = tree->model()->index(1, 0, tree->model()->index(0, 0));
            Click(tree->viewport(), tree->visualRect(games).center());
            ASSERT_EQ(tree->currentIndex(), games);
        }
        ASSERT_EQ(Frame()->CurrentPageId(), p ? vl::kProductPageId : vl::kGeneralPageId);
        Frame()->UpdateCommands();
        for (const auto& [id, on] : states)
            EXPECT_EQ(Frame()->Action(id)->isEnabled(), on[p]) << id;
        EXPECT_EQ(Frame()->Action(cmd::kViewGeneral)->isChecked(), p == 0);
        EXPECT_EQ(Frame()->Action(cmd::kViewProduct)->isChecked(), p != 0);
    }
}

// Opened files are listed newest first in the File menu, four at most, and kept in the settings; a
// listed file that no longer opens leaves the list.
TEST_F(App, RecentFilesInTheFileMenu)
{
    ASSERT_TRUE(Start());
    QStringList files;
    for (int i = 1; i <= 5; ++i) {
        files.prepend(WriteFile(QStringLiteral("f%1.ini").arg(i), SmallConfig()));
        Choose(cmd::kFileOpen, files.front());
    }
    Choose(cmd::kFileOpen, files[2]); // again: it moves to the top
    files.move(2, 0);
    files.removeLast();
    auto listed = [this] {
        QStringList shown;
        for (int i = 0; i < 5; ++i)
            if (QAction* item = Frame()->Action(cmd::kFileRecentFirst + i); item && item->isVisible())
                shown.append(item->data().toString());
        return shown;
    };
    EXPECT_EQ(listed(), files);
    ASSERT_TRUE(QFile::remove(files[1]));
    Choose(cmd::kFileRecentFirst + 1);
    EXPECT_EQ(TakeMessages(), QStringList{kCannotOpen});
    files.removeAt(1);
    EXPECT_EQ(listed(), files);
    platform::RecentFileList stored;
    stored.Load();
    EXPECT_EQ(stored.Files(), files);
}

// A file from a Linux editor is offered for conversion: Yes holds its UTF-8 text as the launcher's
// Windows-1252, to be saved so; No reads its bytes as any other file's.
TEST_F(App, Utf8FilesAreConvertedWhenTheUserAgrees)
{
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("GOOD.ini"), SmallConfig())}));
    const QString question =
        QStringLiteral("This file holds UTF-8 text, as a Linux editor writes it, but the "
                       "launcher reads Windows-1252.\nWould you like to convert its text to "
                       "Windows-1252 ?");
    const QByteArray rest = "PARENT=GENERAL\r\nDESCRIPTION=d\r\n[T]\r\nPARENT=Velmora Products\r\n";
    const QString badKeys = QStringLiteral("This file is not containing any valid keys to read..!!");
    const QString cannot = QStringLiteral(
        "Line 3 holds a character that Windows-1252 cannot hold.\nThe file cannot be converted.");
    const QString kept = QStringLiteral("CafÃ©"); // a refused file leaves the one before shown
    const MsgAnswer yes = MsgAnswer::Yes, no = MsgAnswer::No;
    const struct {
        QByteArray bytes;
        std::optional<MsgAnswer> answer;
        QString refusal;  // after the question, if asked
        QString title;    // shown afterwards
        QByteArray saved; // the title line that Save writes when the file was converted
    } cases[] = {
        {"[GENERAL]\r\nTITLE=\xc3\xa9 \xe2\x82\xac\r\n" + rest, yes, {}, u"é €"_s, "TITLE=\xe9 \x80\r\n"},
        {"\xef\xbb\xbf[GENERAL]\r\nTITLE=Mark\r\n" + rest, yes, {}, u"Mark"_s, "TITLE=Mark\r\n"},
        {"[GENERAL]\r\nTITLE=Caf\xc3\xa9\r\n" + rest, no, {}, u"CafÃ©"_s, {}},
        {"\xef\xbb\xbf[GENERAL]\r\nTITLE=Mark\r\n" + rest, no, badKeys, kept, {}},
        {"[GENERAL]\r\n\r\nTITLE=\xe2\x86\x92\r\n" + rest, yes, cannot, kept, {}},
        {"[GENERAL]\r\nTITLE=Caf\xe9\r\n" + rest, std::nullopt, {}, u"Café"_s, {}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString name = QStringLiteral("U%1.ini").arg(++n);
        SCOPED_TRACE(name.toStdString());
        if (c.answer)
            Answer(*c.answer);
        Choose(cmd::kFileOpen, WriteFile(name, c.bytes));
        EXPECT_EQ(TakeMessages(), (c.answer ? QStringList{question} : QStringList()) +
                                      (c.refusal.isEmpty() ? QStringList() : QStringList{c.refusal}));
        EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(), c.title);
        EXPECT_EQ(Doc()->IsModified(), !c.saved.isEmpty());
        if (!c.saved.isEmpty()) {
            Press(QKeySequence(Qt::CTRL | Qt::Key_S));
            EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
            EXPECT_TRUE(
                ReadFile(Path(name.toLatin1())).startsWith("[GENERAL]\r\nPARENT=GENERAL\r\n" + c.saved));
        }
    }
}

// Names on the command line as the shell hands them over: bytes that are no UTF-8 (a name from a DOS
// medium), and a name that looks like a switch, after "--".
TEST_F(App, CommandLineNamesOpenAsTheirBytesSay)
{
    ASSERT_TRUE(platform::SetCurrentDirectory(TempPath()));
    for (const char* name : {"caf\xe9.ini", "-x.ini"}) {
        std::ofstream(name, std::ios::binary) << kOtherConfig.toStdString();
        const char* argv[] = {"vlconfig", "--", name};
        ASSERT_TRUE(Start(vl::ProgramArguments(3, argv))) << TakeMessages().join(u'|').toStdString();
        EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(), QStringLiteral("Other"));
        std::remove(name); // the temporary folder, by Qt's names, cannot
    }
}

} // namespace
