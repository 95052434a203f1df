// The Product page's entry fields: the commit's checks and what it stores, typing limits, the keys the
// page keeps from its fields, focus prompts and the modified flag.
#include "ProdTestSupport.h"
#include "platform/Paths.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace vltest::prod;

namespace
{

class ProdFields : public ProdPageTest
{
  protected:
    // Entry E under P (selected), with its stored texts set as a loaded file would leave them.
    void OpenOnE(const std::string& title = "t", const std::optional<std::string>& description = "d")
    {
        Open(kGeneral + Sec("E", "P", "t", "d", "old path") + Sec("F", "P", "tf", "df", "pf"));
        vl::SectionNode* e = Node("P", "E");
        e->title = title; // a loaded title may exceed what typing allows, up to what the field holds
        e->description = description;
        Click(EntryItem(u"P"_s, u"E"_s));
        ASSERT_EQ(CurrentText(), u"E"_s);
    }
};

TEST_F(ProdFields, commitChecksTitleDescriptionPathInOrderAndStoresAllOrNothing)
{
    const std::string a238(238, 'a');
    const struct {
        const char* what;
        std::string title;
        std::optional<std::string> description; // as stored, line breaks as CR LF
        QString path;                           // typed into the path field
        QString message;                        // empty: the commit passes
    } cases[] = {
        {"63-byte title", std::string(63, 't'), "d", u"new"_s, {}},
        {"64-byte title", std::string(64, 't'), "d", u"new"_s, kTitleMessage},
        {"empty title", "", "d", u"new"_s, kTitleMessage},
        {"240 bytes of description with one line break", "t", a238 + "\r\n", u"new"_s, {}},
        {"241 bytes of description with one line break", "t", a238 + "a\r\n", u"new"_s, kDescriptionMessage},
        {"no description", "t", std::nullopt, u"new"_s, kDescriptionMessage},
        {"empty title reported before empty description", "", std::nullopt, QString(), kTitleMessage},
        {"a path of one space", "t", "d", u" "_s, {}},
        {"empty path, the valid title not stored either", "t", "d", QString(), kPathMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenOnE(c.title, c.description);
        Retype(PathEdit(), c.path);
        std::vector<Section> expected = SectionsOf(Ring());
        EXPECT_EQ(Page().CommitPage(false), c.message.isEmpty());
        EXPECT_EQ(TakeMessages(), Q{}) << "a silent commit shows nothing";
        const bool ok = Page().CommitPage(true);
        EXPECT_EQ(ok, c.message.isEmpty());
        EXPECT_EQ(TakeMessages(), ok ? Q{} : Q{c.message});
        if (ok)
            expected[1].path = platform::ToCp1252(c.path).value();
        // A loaded title goes back unchanged, the field's line breaks as CR LF.
        EXPECT_EQ(SectionsOf(Ring()), expected);
        EXPECT_EQ(CurrentText(), u"E"_s);
    }
}

TEST_F(ProdFields, commitWithNothingSelectedAGroupSelectedOrTheEntrysSectionGoneStoresNothing)
{
    Open(kXZY, false);
    ASSERT_FALSE(Tree()->currentIndex().isValid());
    EXPECT_TRUE(Page().CommitPage(true));
    Open(kXZY);
    const std::vector<Section> loaded = SectionsOf(Ring());
    ASSERT_EQ(CurrentText(), u"P"_s);
    EXPECT_TRUE(Page().CommitPage(true));
    // The selected entry's section goes away behind the page's back.
    Click(EntryItem(u"P"_s, u"X"_s));
    Retype(TitleEdit(), u"typed for X"_s);
    ASSERT_NE(vl::RemoveSection(Ring(), Node("P", "X")), nullptr);
    EXPECT_TRUE(Page().CommitPage(true));
    EXPECT_EQ(SectionsOf(Ring()), (std::vector<Section>{loaded[0], loaded[2], loaded[3]}));
    EXPECT_EQ(TakeMessages(), Q{});
}

TEST_F(ProdFields, typingStopsAtTheLimitsAndPastingCountsALineBreakAsTwo)
{
    OpenOnE();
    Retype(TitleEdit(), QString(55, u'x'));
    EXPECT_EQ(TitleEdit()->text(), QString(50, u'x'));
    Retype(DescriptionEdit(), QString(185, u'y'));
    EXPECT_EQ(DescriptionEdit()->toPlainText(), QString(180, u'y'));
    Retype(PathEdit(), QString(300, u'p'));
    EXPECT_EQ(PathEdit()->text().size(), 300) << "the path has no typing limit";

    // A paste goes through the page's Paste command to the focused field and is cut at 180 bytes.
    Retype(DescriptionEdit(), QString(177, u'y'));
    DescriptionEdit()->setFocus();
    QGuiApplication::clipboard()->setText(u"\nabc"_s);
    Page().ExecuteCommand(vl::cmd::kEditPaste);
    EXPECT_EQ(DescriptionEdit()->toPlainText(), QString(177, u'y') + u"\na"_s);
    // A character outside Windows-1252 is refused where it is typed.
    Retype(TitleEdit(), u"a"_s);
    QTest::sendKeyEvent(QTest::Click, TitleEdit(), Qt::Key_unknown, QString(QChar(0x4e00)), Qt::NoModifier);
    QTest::keyClicks(TitleEdit(), u"b"_s);
    EXPECT_EQ(TitleEdit()->text(), u"ab"_s);

    ASSERT_TRUE(Page().CommitPage(true));
    EXPECT_EQ(Node("P", "E")->description, std::string(177, 'y') + "\r\na");
    EXPECT_EQ(Node("P", "E")->path, std::string(300, 'p'));
}

// Records the key presses (Shift left out) that reach a control.
class KeyCounter : public QObject
{
  public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() != Qt::Key_Shift)
            keys.append(static_cast<QKeyEvent*>(event)->key());
        return false;
    }
    QList<int> keys;
};

TEST_F(ProdFields, eachFieldPromptsWhileFocusedMarksTypingAsAChangeAndNeverSeesEnterOrEscape)
{
    OpenOnE();
    Click(EntryItem(u"P"_s, u"F"_s));
    Click(GroupItem(u"P"_s));
    Click(EntryItem(u"P"_s, u"E"_s));
    Page().OnInitialUpdate();
    Click(EntryItem(u"P"_s, u"E"_s));
    EXPECT_FALSE(m_doc->IsModified()) << "filling and emptying the fields";
    const std::pair<QWidget*, QString> fields[] = {
        {TitleEdit(), u"Enter a title of less than 50 characters."_s},
        {DescriptionEdit(), u"Enter a description of less than 180 characters."_s},
        {PathEdit(), u"Enter the path/filename to be launched."_s},
    };
    for (const auto& [widget, prompt] : fields) {
        SCOPED_TRACE(widget->objectName().toStdString());
        widget->setFocus();
        EXPECT_EQ(m_host.prompt, prompt);
        KeyCounter counter;
        widget->installEventFilter(&counter);
        m_doc->SetModifiedFlag(false);
        QTest::keyClicks(widget, u"abc"_s);
        EXPECT_TRUE(m_doc->IsModified());
        const Q typed = Fields();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(widget, key);
        QTest::keyClick(widget, Qt::Key_Return, Qt::ShiftModifier);
        EXPECT_EQ(Fields(), typed) << "no line break, no undo";
        EXPECT_EQ(counter.keys, (QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_C}));
        widget->removeEventFilter(&counter);
        Tree()->setFocus();
        EXPECT_EQ(m_host.prompt, QString());
    }
    EXPECT_EQ(TakeMessages(), Q{});

    // Enter in a field ends the tree's label edit, keeping its text.
    const QString description = DescriptionEdit()->toPlainText();
    Page().ExecuteCommand(vl::cmd::kEditRename);
    ASSERT_NE(LabelEditor(), nullptr);
    LabelEditor()->selectAll();
    QTest::keyClicks(LabelEditor(), u"Renamed"_s);
    QTest::keyClick(DescriptionEdit(), Qt::Key_Enter);
    EXPECT_FALSE(Tree()->IsEditing());
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/Renamed", "P/F"}));
    EXPECT_EQ(EntryItem(u"P"_s, u"Renamed"_s), Tree()->currentIndex());
    EXPECT_EQ(DescriptionEdit()->toPlainText(), description);

    QTest::mouseClick(Control<QPushButton>("backButton"), Qt::LeftButton);
    EXPECT_EQ(m_host.switched, QList<int>{vl::kGeneralPageId});
    EXPECT_FALSE(Control<QPushButton>("nextButton")->isEnabled());
}

TEST_F(ProdFields, browseFillsThePathRemembersTheFolderAndRestoresTheCurrentDirectory)
{
    OpenOnE();
    // The first browse starts in the folder the program was started from.
    ASSERT_TRUE(QDir().mkpath(TempPath() + u"/prog"_s));
    platform::SetCurrentDirectory(TempPath() + u"/prog"_s);
    const QString here = platform::CurrentDirectory();
    const QString chosen = TempPath() + u"/tools/SETUP.EXE"_s;
    const struct {
        std::optional<QString> answer; // none: cancelled
        QString startFolder, message, field;
    } steps[] = {
        {std::nullopt, TempPath() + u"/prog/"_s, QString(), u"old path"_s},
        // A path the configuration's Windows-1252 text cannot hold is refused, not emptied later.
        {TempPath() + u"/\u0100/X.EXE"_s, TempPath() + u"/prog/"_s,
         u"Error:\n"_s + QString::fromLatin1(vl::kPathNotStorable), u"old path"_s},
        {chosen, TempPath() + u"/prog/"_s, QString(), chosen},
        {std::nullopt, TempPath() + u"/tools/"_s, QString(), chosen},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.answer.value_or(u"cancel"_s).toStdString());
        AnswerDialog(s.answer);
        BrowseButton()->click();
        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(requests[0].filter, u"Executable|*.exe|Batch File|*.bat|(All Files)|*.*|"_s);
        EXPECT_EQ(requests[0].initialName, u"*.exe"_s);
        EXPECT_EQ(requests[0].defaultExtension, u"*.exe"_s);
        EXPECT_EQ(requests[0].initialFolder, s.startFolder);
        EXPECT_EQ(TakeMessages(), s.message.isEmpty() ? Q{} : Q{s.message});
        EXPECT_EQ(PathEdit()->text(), s.field);
        EXPECT_EQ(m_doc->IsModified(), s.field == chosen);
        EXPECT_EQ(platform::CurrentDirectory(), here);
    }
    ASSERT_TRUE(Page().CommitPage(true));
    EXPECT_EQ(Node("P", "E")->path, vl::LocalPath(chosen));
}

TEST_F(ProdFields, aKeystrokeTheLimitTakesBackLeavesTheDocumentUnmodified)
{
    OpenOnE();
    Retype(DescriptionEdit(), QString(180, u'y'));
    m_doc->SetModifiedFlag(false);
    QTest::keyClick(DescriptionEdit(), Qt::Key_Z);
    EXPECT_EQ(DescriptionEdit()->toPlainText(), QString(180, u'y'));
    EXPECT_FALSE(m_doc->IsModified());
}

} // namespace
