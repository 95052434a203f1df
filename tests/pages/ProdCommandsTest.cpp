// The Product page's entry commands: Add, Remove and Rename through label edits, Move Up and Move Down.
#include "ProdTestSupport.h"

using namespace Qt::StringLiterals;
using namespace vltest::prod;

namespace {

using Q = QStringList;
using Names = std::vector<std::string>;

const std::string kXZY = kGeneral + Sec("X", "P", "tx", "dx", "px") + Sec("Z", "Q", "tz", "dz", "pz") +
                         Sec("Y", "P", "ty", "dy", "py");
const Names kXZYNames{"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y"};

class ProdAdd : public ProdPageTest {};
class ProdRemove : public ProdPageTest {};
class ProdRename : public ProdPageTest {};
class ProdMove : public ProdPageTest {};

TEST_F(ProdAdd, escapeDeletesThePlaceholderAndLeavesTheRingAlone)
{
    Open(kXZY);
    Click(GroupItem(u"P"_s));
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"X"_s, u"Y"_s, u"Untitled"_s}}, {u"Q"_s, Q{u"Z"_s}}}));
    EXPECT_EQ(Tree()->EditIndex(), EntryItem(u"P"_s, u"Untitled"_s));
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::Adding);
    EXPECT_EQ(m_host.prompt, kAddPrompt);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames) << "no section before the name is given";

    EndLabel(QString(), Qt::Key_Escape);
    EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"X"_s, u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}}));
    EXPECT_EQ(SectionsOf(Ring()), SectionsOfText(kXZY));
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
    EXPECT_EQ(m_host.prompt, QString());
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ProdAdd, theEditedNameMakesASectionUnlessTheGroupHasIt)
{
    const std::string nameless = Sec("", "Tools", "Kept", "kd", "kp") + Sec("A", "Velmora Products");
    struct Case {
        const char* what;
        std::string config;
        QString group;
        QString typed; // null: Enter without typing
        Names ring;    // expected afterwards
        QStringList entries;
        QString message;
    };
    const Case cases[] = {
        {"Enter without typing",
         kXZY,
         u"Q"_s,
         {},
         {"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "Q/Untitled"},
         Q{u"Z"_s, u"Untitled"_s},
         {}},
        {"a new name becomes the last section",
         kXZY,
         u"P"_s,
         u"Neu"_s,
         {"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "P/Neu"},
         Q{u"X"_s, u"Y"_s, u"Neu"_s},
         {}},
        {"a name of another group",
         kXZY,
         u"Q"_s,
         u"x"_s,
         {"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "Q/x"},
         Q{u"Z"_s, u"x"_s},
         {}},
        {"51 characters",
         kXZY,
         u"Q"_s,
         QString(51, u'n'),
         {"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "Q/" + std::string(51, 'n')},
         Q{u"Z"_s, QString(51, u'n')},
         {}},
        {"the group's nameless section takes the name",
         nameless,
         u"Tools"_s,
         u"Hammer"_s,
         {"Tools/Hammer", "Velmora Products/A"},
         Q{u"Hammer"_s},
         {}},
        {"nameless section, Enter without typing",
         nameless,
         u"Tools"_s,
         {},
         {"Tools/Untitled", "Velmora Products/A"},
         Q{u"Untitled"_s},
         {}},
        {"a name of the group in another letter case", kXZY, u"P"_s, u"y"_s, kXZYNames, Q{u"X"_s, u"Y"_s},
         kDuplicateMessage},
        {"Untitled when the group has an untitled entry",
         kXZY + Sec("untitled", "Q"),
         u"Q"_s,
         {},
         {"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "Q/untitled"},
         Q{u"Z"_s, u"untitled"_s},
         kDuplicateMessage},
        {"an empty name", kXZY, u"P"_s, u""_s, kXZYNames, Q{u"X"_s, u"Y"_s}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(c.config);
        Click(GroupItem(c.group));
        const std::vector<Section> before = SectionsOf(Ring());
        Page().ExecuteCommand(vl::cmd::kEditAdd);
        EndLabel(c.typed);
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? Q{} : Q{c.message});
        EXPECT_EQ(NamesOf(Ring()), c.ring);
        EXPECT_EQ(TreeShape()[GroupItem(c.group).row()].entries, c.entries);
        EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
        EXPECT_FALSE(Tree()->IsEditing());
        EXPECT_EQ(m_host.prompt, QString());
        const bool added = c.ring.size() > before.size();
        const bool named = c.config == nameless && c.message.isEmpty();
        EXPECT_EQ(m_doc->IsModified(), added || named);
        if (added || named) {
            // The new entry is selected; a made section has an empty title and neither description nor
            // path, a named one keeps its own.
            const QString name = c.typed.isNull() ? u"Untitled"_s : c.typed;
            EXPECT_EQ(CurrentText(), name);
            const vl::SectionNode* node =
                Node(platform::ToCp1252(c.group).value(), platform::ToCp1252(name).value());
            ASSERT_NE(node, nullptr);
            if (named) {
                EXPECT_EQ(SectionsOf(Ring())[0], (Section{"Tools", node->name, "Kept", "kd", "kp"}));
            } else {
                EXPECT_EQ(node->title, "");
                EXPECT_EQ(node->description, std::nullopt);
                EXPECT_EQ(node->path, std::nullopt);
                EXPECT_EQ(node->next, vl::FindSentinel(Ring()));
            }
            EXPECT_TRUE(TitleEdit()->isEnabled());
            EXPECT_EQ(TitleEdit()->text(), named ? u"Kept"_s : QString());
        } else {
            EXPECT_EQ(SectionsOf(Ring()), before);
        }
    }
}

TEST_F(ProdAdd, anOverlongNameRestartsTheAdd)
{
    Open(kXZY);
    Click(GroupItem(u"Q"_s));
    Key(Qt::Key_Insert);
    EndLabel(QString(52, u'n'));
    EXPECT_EQ(TakeMessages(), Q{kLabelMessage});
    EXPECT_EQ(Tree()->EditIndex(), EntryItem(u"Q"_s, u"Untitled"_s));
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::Adding);
    EXPECT_EQ(m_host.prompt, kAddPrompt);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);

    EndLabel(u"Fine"_s);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "Q/Fine"}));
    EXPECT_EQ(CurrentText(), u"Fine"_s);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(ProdAdd, worksRightAfterAClickOnTheSelectedGroup)
{
    // A click on the selected label schedules an edit of the tree's own; the Add must not wait for it.
    for (int command : {0, vl::cmd::kEditAdd, vl::cmd::kContextAdd}) {
        SCOPED_TRACE(command);
        Open(kXZY);
        ASSERT_EQ(CurrentText(), u"P"_s);
        Click(GroupItem(u"P"_s));
        if (command == vl::cmd::kContextAdd)
            RightClick(LabelPoint(GroupItem(u"P"_s)), command);
        else if (command)
            Page().ExecuteCommand(command);
        else
            Key(Qt::Key_Insert);
        ASSERT_NE(LabelEditor(), nullptr);
        EXPECT_EQ(Tree()->EditIndex(), EntryItem(u"P"_s, u"Untitled"_s));
        EndLabel(u"Quick"_s);
        EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y", "P/Quick"}));
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        EXPECT_FALSE(Tree()->IsEditing()) << "no edit of the tree's own follows";
        EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
    }
}

TEST_F(ProdAdd, addOnAnEntryOrWithoutGroupsDoesNothing)
{
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"Y"_s));
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    Key(Qt::Key_Insert);
    RightClick(LabelPoint(EntryItem(u"P"_s, u"Y"_s)), vl::cmd::kContextAdd); // grayed, but sent all the same
    EXPECT_FALSE(Tree()->IsEditing());
    EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"X"_s, u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}}));

    Open(kGeneral);
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ProdRemove, askFirstAndRemoveSectionAndItemOnYes)
{
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Delete key" : "Edit > Remove");
        Open(kXZY);
        Click(EntryItem(u"P"_s, u"X"_s));
        Answer(platform::MsgAnswer::No);
        byKey ? Key(Qt::Key_Delete) : (void)Page().ExecuteCommand(vl::cmd::kEditRemove);
        EXPECT_EQ(TakeMessages(), Q{kRemoveQuestion});
        EXPECT_EQ(NamesOf(Ring()), kXZYNames);
        EXPECT_FALSE(m_doc->IsModified());

        Answer(platform::MsgAnswer::Yes);
        byKey ? Key(Qt::Key_Delete) : (void)Page().ExecuteCommand(vl::cmd::kEditRemove);
        EXPECT_EQ(TakeMessages(), Q{kRemoveQuestion});
        EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/Y"}));
        EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}}))
            << "the tree is not rebuilt";
        EXPECT_TRUE(m_doc->IsModified());
    }
    // On a group nothing is asked.
    Click(GroupItem(u"Q"_s));
    Page().ExecuteCommand(vl::cmd::kEditRemove);
    Key(Qt::Key_Delete);
    EXPECT_EQ(TakeMessages(), Q{});
}

TEST_F(ProdRemove, entriesUnderTheRemovedOneKeepTheirGroup)
{
    Open(Sec("Drivers", "Velmora Products") + Sec("Audio", "Drivers") + Sec("Manuals", "Velmora Products"));
    Answer(platform::MsgAnswer::Yes);
    RightClick(LabelPoint(EntryItem(u"Velmora Products"_s, u"Drivers"_s)), vl::cmd::kContextRemove);
    EXPECT_EQ(TakeMessages(), Q{kRemoveQuestion});
    EXPECT_EQ(NamesOf(Ring()), (Names{"Drivers/Audio", "Velmora Products/Manuals"}));
    EXPECT_EQ(TreeShape(), (Shape{{u"Velmora Products"_s, Q{u"Manuals"_s}}, {u"Drivers"_s, Q{u"Audio"_s}}}));
}

TEST_F(ProdRemove, theFieldsNeverCarryTheRemovedEntrysTextsToAnother)
{
    struct Case {
        const char* what;
        QString group, entry; // removed
        QString follows;      // the item selected afterwards, as the tree chooses it
    };
    const Case cases[] = {
        {"first of its group", u"P"_s, u"X"_s, u"Y"_s},
        {"last of its group", u"P"_s, u"Y"_s, u"X"_s},
        {"only entry of its group", u"Q"_s, u"Z"_s, u"Q"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(kXZY);
        Tree()->expandAll();
        Click(EntryItem(c.group, c.entry));
        Retype(TitleEdit(), u"unsaved title"_s);
        Retype(PathEdit(), u"unsaved path"_s);
        Answer(platform::MsgAnswer::Yes);
        Page().ExecuteCommand(vl::cmd::kEditRemove);
        EXPECT_EQ(TakeMessages(), Q{kRemoveQuestion});
        EXPECT_EQ(CurrentText(), c.follows);
        EXPECT_EQ(Page().m_hCurItem, Tree()->currentIndex());
        std::vector<Section> expected = SectionsOfText(kXZY);
        std::erase_if(expected, [&](const Section& s) { return s.name == c.entry.toStdString(); });
        if (Tree()->currentIndex().parent().isValid()) {
            const vl::SectionNode* shown = Node(c.group.toStdString(), c.follows.toStdString());
            EXPECT_EQ(TitleEdit()->text().toStdString(), shown->title);
            EXPECT_EQ(PathEdit()->text().toStdString(), shown->path.value());
        } else {
            EXPECT_FALSE(TitleEdit()->isEnabled());
            EXPECT_EQ(TitleEdit()->text(), QString());
        }
        EXPECT_TRUE(Page().CommitPage(true));
        Click(GroupItem(u"Q"_s) == Tree()->currentIndex() ? GroupItem(u"P"_s) : GroupItem(u"Q"_s));
        EXPECT_EQ(SectionsOf(Ring()), expected);
        EXPECT_EQ(TakeMessages(), Q{});
    }
}

TEST_F(ProdRename, aNameTheGroupHasIsRefusedOthersAreTaken)
{
    struct Case {
        const char* what;
        QString typed;
        Qt::Key end;
        Names ring;
        QString message;
    };
    const Case cases[] = {
        {"a new name", u"Xeno"_s, Qt::Key_Return, {"GENERAL/GENERAL", "P/Xeno", "Q/Z", "P/Y"}, {}},
        {"51 characters",
         QString(51, u'r'),
         Qt::Key_Enter,
         {"GENERAL/GENERAL", "P/" + std::string(51, 'r'), "Q/Z", "P/Y"},
         {}},
        {"the name of another group's entry",
         u"Z"_s,
         Qt::Key_Return,
         {"GENERAL/GENERAL", "P/Z", "Q/Z", "P/Y"},
         {}},
        {"its own name", u"X"_s, Qt::Key_Return, kXZYNames, kDuplicateMessage},
        {"its own name in another letter case", u"x"_s, Qt::Key_Return, kXZYNames, kDuplicateMessage},
        {"a sibling's name in another letter case", u"y"_s, Qt::Key_Return, kXZYNames, kDuplicateMessage},
        {"an empty name", u""_s, Qt::Key_Return, kXZYNames, {}},
        {"Escape", u"Other"_s, Qt::Key_Escape, kXZYNames, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(kXZY);
        Click(EntryItem(u"P"_s, u"X"_s));
        const QString prompt = m_host.prompt;
        Page().ExecuteCommand(vl::cmd::kEditRename);
        EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::Renaming);
        EXPECT_EQ(m_host.prompt, prompt) << "Rename leaves the prompt alone";
        EndLabel(c.typed, c.end);
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? Q{} : Q{c.message});
        EXPECT_EQ(NamesOf(Ring()), c.ring);
        const bool renamed = c.ring != kXZYNames;
        EXPECT_EQ(TreeShape()[0].entries, (Q{renamed ? c.typed : u"X"_s, u"Y"_s}));
        EXPECT_EQ(m_doc->IsModified(), renamed);
        EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
        EXPECT_EQ(Node("P", renamed ? c.typed.toStdString() : "X")->title, "tx");
    }
}

TEST_F(ProdRename, anOverlongNameRestartsTheRename)
{
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"Y"_s));
    Page().ExecuteCommand(vl::cmd::kEditRename);
    EndLabel(QString(52, u'r'));
    EXPECT_EQ(TakeMessages(), Q{kLabelMessage});
    EXPECT_EQ(Tree()->EditIndex(), EntryItem(u"P"_s, u"Y"_s));
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::Renaming);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);
    EndLabel(u"Why"_s);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/X", "Q/Z", "P/Why"}));
}

TEST_F(ProdRename, entriesUnderTheRenamedOneStayUnderTheOldName)
{
    Open(Sec("Drivers", "Velmora Products") + Sec("Audio", "Drivers"));
    Click(EntryItem(u"Velmora Products"_s, u"Drivers"_s));
    Page().ExecuteCommand(vl::cmd::kEditRename);
    EndLabel(u"Tools"_s);
    EXPECT_EQ(NamesOf(Ring()), (Names{"Velmora Products/Tools", "Drivers/Audio"}));
    EXPECT_EQ(TreeShape(), (Shape{{u"Velmora Products"_s, Q{u"Tools"_s}}, {u"Drivers"_s, Q{u"Audio"_s}}}));
}

TEST_F(ProdRename, anEditStartedByClickingTheSelectedLabelChangesNothing)
{
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"X"_s));
    Click(EntryItem(u"P"_s, u"X"_s));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Tree()->IsEditing(); }))
        << "the edit begins after a short delay";
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
    EndLabel(u"Other"_s);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);
    EXPECT_EQ(TreeShape()[0].entries, (Q{u"X"_s, u"Y"_s}));

    // Too long still brings the message and a new edit, for nothing again.
    vltest::ProcessEvents(); // a click at the very moment an edit closed does not reopen it
    Click(EntryItem(u"P"_s, u"X"_s));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Tree()->IsEditing(); }));
    EndLabel(QString(60, u'o'));
    EXPECT_EQ(TakeMessages(), Q{kLabelMessage});
    EXPECT_TRUE(Tree()->IsEditing());
    EndLabel(u"Again"_s);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);
    EXPECT_FALSE(m_doc->IsModified());

    // Group labels cannot be edited at all.
    Click(GroupItem(u"Q"_s));
    Click(GroupItem(u"Q"_s));
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_FALSE(Tree()->IsEditing());
}

TEST_F(ProdRename, anUntitledEntryEndedEmptyLeavesTheTreeUntilItIsRebuilt)
{
    Open(kGeneral + Sec("Untitled", "P", "tu", "du", "pu") + Sec("B", "P", "tb", "db", "pb"));
    Click(EntryItem(u"P"_s, u"Untitled"_s));
    Page().ExecuteCommand(vl::cmd::kEditRename);
    EndLabel(QString(), Qt::Key_Escape);
    EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"B"_s}}}));
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/Untitled", "P/B"}));
    EXPECT_EQ(CurrentText(), u"B"_s);
    EXPECT_EQ(TitleEdit()->text(), u"tb"_s);

    // Moving B up past nothing changes nothing; adding Untitled again is a duplicate.
    Page().ExecuteCommand(vl::cmd::kMoveUp);
    EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"B"_s}}}));
    Click(GroupItem(u"P"_s));
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    EndLabel(QString());
    EXPECT_EQ(TakeMessages(), Q{kDuplicateMessage});
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/Untitled", "P/B"}));
}

TEST_F(ProdMove, nothingMovesPastTheEndsOfAGroupNotEvenACommit)
{
    struct Case {
        const char* what;
        QString group, entry; // selected; no entry: the group
        int command;
    };
    const Case cases[] = {
        {"first entry up", u"P"_s, u"X"_s, vl::cmd::kMoveUp},
        {"last entry down", u"P"_s, u"Y"_s, vl::cmd::kMoveDown},
        {"only entry up", u"Q"_s, u"Z"_s, vl::cmd::kMoveUp},
        {"only entry down", u"Q"_s, u"Z"_s, vl::cmd::kMoveDown},
        {"group up", u"Q"_s, {}, vl::cmd::kMoveUp},
        {"group down", u"P"_s, {}, vl::cmd::kMoveDown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(kXZY);
        Tree()->expandAll();
        Click(c.entry.isEmpty() ? GroupItem(c.group) : EntryItem(c.group, c.entry));
        if (TitleEdit()->isEnabled())
            Retype(TitleEdit(), QString());
        m_doc->SetModifiedFlag(false);
        Page().ExecuteCommand(c.command);
        EXPECT_EQ(TakeMessages(), Q{});
        EXPECT_EQ(SectionsOf(Ring()), SectionsOfText(kXZY));
        EXPECT_EQ(CurrentText(), c.entry.isEmpty() ? c.group : c.entry);
        EXPECT_FALSE(m_doc->IsModified());
    }
    Open(kXZY, false);
    ASSERT_FALSE(Tree()->currentIndex().isValid());
    Page().ExecuteCommand(vl::cmd::kMoveDown);
    Page().ExecuteCommand(vl::cmd::kMoveUp);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);
}

TEST_F(ProdMove, anEntryMovesAmongItsSiblingsAndStaysSelected)
{
    struct Case {
        const char* what;
        QString selected;
        int command;
        Names ring;
        Shape tree;
    };
    const Names zyx{"GENERAL/GENERAL", "Q/Z", "P/Y", "P/X"};
    const Shape qp{{u"Q"_s, Q{u"Z"_s}}, {u"P"_s, Q{u"Y"_s, u"X"_s}}};
    const Case cases[] = {
        {"X down", u"X"_s, vl::cmd::kMoveDown, zyx, qp},
        {"Y up", u"Y"_s, vl::cmd::kMoveUp, zyx, qp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(kXZY);
        Click(EntryItem(u"P"_s, c.selected));
        Page().ExecuteCommand(c.command);
        EXPECT_EQ(NamesOf(Ring()), c.ring);
        EXPECT_EQ(TreeShape(), c.tree);
        EXPECT_TRUE(Tree()->isExpanded(GroupItem(u"Q"_s))) << "the rebuilt tree expands its first group";
        EXPECT_EQ(CurrentText(), c.selected);
        EXPECT_EQ(Page().m_hCurItem, Tree()->currentIndex());
        EXPECT_EQ(TitleEdit()->text(), c.selected == u"X"_s ? u"tx"_s : u"ty"_s);
        EXPECT_TRUE(m_doc->IsModified());
    }
    // Y now stands first in P: up again is nothing; X, second, goes up past it.
    Page().ExecuteCommand(vl::cmd::kMoveUp);
    EXPECT_EQ(NamesOf(Ring()), zyx);
    Click(EntryItem(u"P"_s, u"X"_s));
    Page().ExecuteCommand(vl::cmd::kMoveUp);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/X", "P/Y"}));
}

TEST_F(ProdMove, twinNamesInOneGroupDoNotMove)
{
    Open(Sec("A", "P", "ta") + Sec("a", "P", "tb"));
    for (int command : {vl::cmd::kMoveDown, vl::cmd::kMoveUp}) {
        Click(EntryItem(u"P"_s, command == vl::cmd::kMoveDown ? u"A"_s : u"a"_s));
        Page().ExecuteCommand(command);
        EXPECT_EQ(SectionsOf(Ring()), SectionsOfText(Sec("A", "P", "ta") + Sec("a", "P", "tb")));
        EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"A"_s, u"a"_s}}}));
        EXPECT_EQ(CurrentText(), u"A"_s) << "both names find the first of the twins";
        EXPECT_FALSE(m_doc->IsModified()) << "nothing changed";
    }
}

TEST_F(ProdMove, invalidFieldsAreReportedThenDroppedAndTheMoveGoesOn)
{
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"X"_s));
    Retype(TitleEdit(), QString());
    Retype(PathEdit(), u"typed path"_s);
    Page().ExecuteCommand(vl::cmd::kMoveDown);
    EXPECT_EQ(TakeMessages(), Q{kTitleMessage});
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/Y", "P/X"}));
    EXPECT_EQ(CurrentText(), u"X"_s);
    EXPECT_EQ(TitleEdit()->text(), u"tx"_s);
    EXPECT_EQ(PathEdit()->text(), u"px"_s);
    EXPECT_EQ(Node("P", "X")->path, "px");
}

TEST_F(ProdMove, aMoveDuringAnAddEndsTheAdd)
{
    // Add acts on the item last right-clicked while an entry stays selected; Move acts on that entry.
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"X"_s));
    const QRect group = Tree()->visualRect(GroupItem(u"Q"_s));
    RightClick({group.right() - 2, group.center().y()});
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    ASSERT_EQ(Page().m_nEditMode, vl::LabelEditMode::Adding);
    Page().ExecuteCommand(vl::cmd::kMoveDown);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/Y", "P/X"}));
    EXPECT_EQ(TreeShape(), (Shape{{u"Q"_s, Q{u"Z"_s}}, {u"P"_s, Q{u"Y"_s, u"X"_s}}}));
    EXPECT_FALSE(Tree()->IsEditing());
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);

    // A later edit started in the tree is no Add.
    ASSERT_EQ(CurrentText(), u"X"_s);
    Tree()->StartEdit(Tree()->currentIndex());
    EndLabel(u"Stray"_s);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/Y", "P/X"}));
    EXPECT_EQ(TreeShape()[1].entries, (Q{u"Y"_s, u"X"_s}));
}

} // namespace
