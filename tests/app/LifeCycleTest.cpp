// The document's life as a person meets it: the save-changes question, New without its template,
// dropped files, Save As, Preview, /Unregister, and what a save keeps of the file it replaces.
#include "app/AppFixture.h"
#include "document/CommandIds.h"

#include <QLineEdit>
#include <QMimeData>
#include <sys/stat.h>

using platform::MsgAnswer;
using namespace vltest;

namespace
{

using LifeCycle = AppTest;

const QString kTooLong = QStringLiteral("File name should be less than eight charachers");

// Yes saves first, and Close, New or Open (of a recent file) go on only when the save did: a cancelled
// Save As dialog or a refused name keeps the window, the document, its edits and the recent files.
TEST_F(LifeCycle, aChangedDocumentGoesOnlyWhereItsAnswerAndItsSaveLetIt)
{
    enum How { New, Open, Close };
    constexpr MsgAnswer Yes = MsgAnswer::Yes, No = MsgAnswer::No, Cancel = MsgAnswer::Cancel;
    const struct {
        How how;
        const char* file; // opened at start; none: a new document
        MsgAnswer answer;
        std::optional<const char*> saveAs = std::nullopt; // the Save As dialog's answer (none: cancelled)
        bool saved = false;
    } rows[] = {
        {.how = New, .file = "A.ini", .answer = Yes, .saved = true},
        {.how = New, .file = nullptr, .answer = Yes, .saveAs = "NEW.ini", .saved = true},
        {.how = New, .file = "A.ini", .answer = No},
        {.how = New, .file = nullptr, .answer = Yes, .saveAs = nullptr},
        {.how = New, .file = "ABCDEFGHI.ini", .answer = Yes},
        {.how = Open, .file = "A.ini", .answer = Cancel},
        {.how = Open, .file = nullptr, .answer = No},
        {.how = Open, .file = nullptr, .answer = Yes, .saveAs = nullptr},
        {.how = Open, .file = "ABCDEFGHI.ini", .answer = Yes},
        {.how = Close, .file = "A.ini", .answer = Cancel},
        {.how = Close, .file = "A.ini", .answer = No},
        {.how = Close, .file = nullptr, .answer = Yes, .saveAs = nullptr},
        {.how = Close, .file = "ABCDEFGHI.ini", .answer = Yes},
    };
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(++n);
        const bool goesOn = row.saved || row.answer == No;
        const QString other = WriteFile(QStringLiteral("B.ini"), kOtherConfig);
        for (const char* name : {"NEW.ini", "NEW.bat"})
            QFile::remove(Path(name));
        platform::RecentFileList recent;
        recent.Add(other);
        recent.Save();
        ASSERT_TRUE(row.file ? Start({WriteFile(QLatin1String(row.file), SmallConfig())}) : Start());
        Retype(Control<QLineEdit>("titleEdit"), QStringLiteral("Edited"));
        Answer(row.answer);
        if (row.saveAs)
            AnswerDialog(*row.saveAs ? std::optional(Path(*row.saveAs)) : std::nullopt);
        if (row.how == New)
            Press(QKeySequence(Qt::CTRL | Qt::Key_N));
        else if (row.how == Open)
            Choose(vl::cmd::kFileRecentFirst + (row.file ? 1 : 0)); // B.ini, from the recent files
        else
            Frame()->close();
        EXPECT_EQ(TakeDialogs().size(), row.saveAs ? 1 : 0);
        const QString shown = row.file ? QLatin1String(row.file) : QStringLiteral("Untitled");
        QStringList messages{QStringLiteral("Save changes to ") + shown + QLatin1Char('?')};
        if (row.answer == MsgAnswer::Yes && row.file && !row.saved)
            messages.append(kTooLong);
        if (row.saved)
            messages.append(kSavedInfo);
        EXPECT_EQ(TakeMessages(), messages);
        const QString savedTo = row.saveAs && *row.saveAs ? Path(*row.saveAs)
                                : row.file                ? Path(row.file)
                                                          : QString();
        EXPECT_EQ(ReadFile(savedTo).contains("TITLE=Edited\r\n"), row.saved);
        EXPECT_EQ(Frame()->isVisible(), row.how != Close || !goesOn);
        EXPECT_TRUE(m_app->RecentFiles().Files().contains(other)) << "only a file that fails to open leaves";
        if (goesOn && row.how == New) { // the new document has no name: Save asks for one
            AnswerDialog(std::nullopt);
            Press(QKeySequence(Qt::CTRL | Qt::Key_S));
            EXPECT_EQ(TakeDialogs().size(), 1);
        }
        if (goesOn)
            continue;
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(Shown(), shown);
        EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(), QStringLiteral("Edited"));
    }
}

// Without the template beside the program, New asks where it is: No or a cancelled dialog end the
// start, a chosen file is the new document's template.
TEST_F(LifeCycle, newWithoutItsTemplateAsksForOne)
{
    ASSERT_TRUE(QFile::remove(m_program + QStringLiteral("VLDefault.cfg")));
    const QString chosen = WriteFile(QStringLiteral("mine.cfg"), kOtherConfig);
    const struct {
        MsgAnswer answer;
        std::optional<QString> dialog; // asked only after Yes
        bool starts;
    } rows[] = {
        {.answer = MsgAnswer::No, .dialog = std::nullopt, .starts = false},
        {.answer = MsgAnswer::Yes, .dialog = std::nullopt, .starts = false},
        {.answer = MsgAnswer::Yes, .dialog = chosen, .starts = true},
    };
    for (const auto& row : rows) {
        Answer(row.answer);
        if (row.answer == MsgAnswer::Yes)
            AnswerDialog(row.dialog);
        EXPECT_EQ(Start(), row.starts);
        EXPECT_EQ(TakeMessages(),
                  QStringList{QStringLiteral("Unable to locate the default config "
                                             "file(.cfg)\nWould you like to find it yourself ?")});
        EXPECT_EQ(TakeDialogs().size(), row.answer == MsgAnswer::Yes ? 1 : 0);
    }
    EXPECT_EQ(Shown(), QStringLiteral("Untitled"));
    EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(), QStringLiteral("Other"));
}

// Files dropped on the window open one after another, the last stays; each one, and a Save As, goes
// to the top of the recent files.
TEST_F(LifeCycle, droppedFilesOpenAndSavedAsFilesJoinTheRecentFiles)
{
    ASSERT_TRUE(Start());
    const QString a = WriteFile(QStringLiteral("a.ini"), SmallConfig());
    const QString b = WriteFile(QStringLiteral("b.ini"), kOtherConfig);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    const QPoint at = Control<QWidget>("titleEdit")->mapTo(Frame(), QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, {});
    QDropEvent drop(QPointF(at), Qt::CopyAction, &files, Qt::LeftButton, {});
    for (QEvent* event : {static_cast<QEvent*>(&enter), static_cast<QEvent*>(&drop)})
        QApplication::sendEvent(Frame()->windowHandle(), event);
    EXPECT_EQ(Shown(), QStringLiteral("b.ini"));
    EXPECT_EQ(m_app->RecentFiles().Files(), (QStringList{b, a}));
    Choose(vl::cmd::kFileSaveAs, Path("C.ini"));
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_EQ(m_app->RecentFiles().Files(), (QStringList{Path("C.ini"), b, a}));
}

// /Unregister, in any letter case, deletes the settings file, says so and ends without a window.
TEST_F(LifeCycle, unregisterDeletesTheSettingsFile)
{
    const QString settings = platform::OpenSettings()->fileName();
    platform::RecentFileList recent;
    recent.Add(WriteFile(QStringLiteral("a.ini"), SmallConfig()));
    recent.Save();
    ASSERT_TRUE(QFile::exists(settings));
    EXPECT_FALSE(Start({QStringLiteral("/UNRegister")}));
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("System registry entries have been removed and "
                                                         "the INI file (if any) was deleted.")});
    EXPECT_FALSE(QFile::exists(settings));
}

// F5 runs COMSPEC's interpreter on the saved batch file, never with unsaved edits, and says so when
// the interpreter does not start.
TEST_F(LifeCycle, previewRunsOnlyTheSavedFileAndSaysWhenItCannot)
{
    const QString ran = Path("RAN"),
                  script = WriteFile(QStringLiteral("interpreter.sh"),
                                     "#!/bin/sh\necho \"$1 $2\" >" + QFile::encodeName(ran) + "\n");
    ASSERT_TRUE(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), SmallConfig())}));
    const struct {
        bool edited;
        QString comspec;
        QString message; // none: the interpreter ran
    } rows[] = {
        {.edited = true, .comspec = script, .message = QStringLiteral("File not yet saved.")},
        {.edited = false,
         .comspec = Path("none.sh"),
         .message =
             QStringLiteral("Unable to start the command interpreter ") + Path("none.sh") + QLatin1Char('.')},
        {.edited = false, .comspec = script, .message = QString()},
    };
    for (const auto& row : rows) {
        QFile::remove(ran);
        if (row.edited)
            Retype(Control<QLineEdit>("titleEdit"), QStringLiteral("Edited"));
        qputenv("COMSPEC", QFile::encodeName(row.comspec));
        Click(Control<QWidget>("titleEdit"));
        Press(Qt::Key_F5);
        EXPECT_EQ(TakeMessages(), row.message.isEmpty() ? QStringList() : QStringList{row.message});
        EXPECT_EQ(ReadFile(ran),
                  row.message.isEmpty() ? "/c " + QFile::encodeName(Path("A.bat")) + "\n" : "");
        if (row.edited) {
            Press(QKeySequence(Qt::CTRL | Qt::Key_S));
            EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
        }
    }
    qunsetenv("COMSPEC");
}

// Saving through a link keeps the link, and the file it names gets the new text with its own mode.
TEST_F(LifeCycle, aSaveKeepsTheLinkAndTheFilesMode)
{
    const QString link = Path("LINK.ini"), file = WriteFile(QStringLiteral("LINKED.ini"), SmallConfig());
    ASSERT_EQ(chmod(QFile::encodeName(file).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("LINKED.ini"), link) && Start({link}));
    Retype(Control<QLineEdit>("titleEdit"), QStringLiteral("Edited"));
    Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_TRUE(QFileInfo(link).isSymLink() && ReadFile(file).contains("TITLE=Edited\r\n"));
    struct stat status {
    };
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

} // namespace
