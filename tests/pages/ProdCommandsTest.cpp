// The Product page's entry commands: Add, Remove and Rename through label edits, Move Up and Move Down.
#include "ProdTestSupport.h"

using namespace vltest::prod;

namespace
{

// X is also the parent of W, whose group is not X's entry: it stays when X goes or is renamed.
const std::string kXZYW = kXZY + Sec("W", "X", "tw", "dw", "pw");

class ProdCommands : public ProdPageTest
{
  protected:
    static Names With(Names names, const std::string& more)
    {
        names.push_back(more);
        return names;
    }
    // Ends the running label edit after an over-long name, which restarts the edit and changes nothing.
    void EndLabelAfterOverlong(const QString& typed, Qt::Key end, const QString& prompt)
    {
        const QModelIndex edited = Tree()->EditIndex();
        const std::vector<Section> before = SectionsOf(Ring());
        EndLabel(QString(52, u'n'));
        EXPECT_EQ(TakeMessages(), Q{kLabelMessage});
        EXPECT_EQ(Tree()->EditIndex(), edited);
        EXPECT_EQ(m_host.prompt, prompt);
        EXPECT_EQ(SectionsOf(Ring()), before);
        EndLabel(typed, end);
    }
};

TEST_F(ProdCommands, addMakesASectionOfTheEditedNameUnlessTheGroupHasIt)
{
    const std::string nameless = Sec("", "T", "Kept", "kd", "kp") + Sec("A", "V");
    const std::string untitled = kXZY + Sec("untitled", "Q");
    const struct {
        const char* what;
        std::string config;
        QString group, typed; // typed null: Enter without typing
        Names ring;           // afterwards
        QString message = {};
        Qt::Key end = Qt::Key_Return;
    } cases[] = {
        {"Escape", kXZY, u"P"_s, u"Neu"_s, kXZYNames, {}, Qt::Key_Escape},
        {"Enter without typing", kXZY, u"Q"_s, {}, With(kXZYNames, "Q/Untitled")},
        {"a new name", kXZY, u"P"_s, u"Neu"_s, With(kXZYNames, "P/Neu"), {}, Qt::Key_Enter},
        {"a name of another group", kXZY, u"Q"_s, u"x"_s, With(kXZYNames, "Q/x")},
        {"51 characters", kXZY, u"Q"_s, QString(51, u'n'), With(kXZYNames, "Q/" + std::string(51, 'n'))},
        {"the group's nameless section is named", nameless, u"T"_s, u"Hammer"_s, {"T/Hammer", "V/A"}},
        {"nameless section, Enter without typing", nameless, u"T"_s, {}, {"T/Untitled", "V/A"}},
        {"a name of the group in other letter case", kXZY, u"P"_s, u"y"_s, kXZYNames, kDuplicateMessage},
        {"Untitled taken", untitled, u"Q"_s, {}, With(kXZYNames, "Q/untitled"), kDuplicateMessage},
        {"an empty name", kXZY, u"P"_s, u""_s, kXZYNames},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(c.config);
        Click(GroupItem(c.group));
        const std::vector<Section> before = SectionsOf(Ring());
        const Names names = NamesOf(Ring());
        const auto entries = [&] { return TreeShape()[GroupItem(c.group).row()].entries; };
        const QStringList shown = entries();
        Page().ExecuteCommand(vl::cmd::kEditAdd);
        // A placeholder waits at the end of the group; no section before the name is given.
        EXPECT_EQ(entries(), shown + Q{u"Untitled"_s});
        EXPECT_EQ(Tree()->EditIndex(), Model()->index(shown.size(), 0, GroupItem(c.group)));
        EndLabelAfterOverlong(c.typed, c.end, kAddPrompt);
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? Q{} : Q{c.message});
        ASSERT_EQ(NamesOf(Ring()), c.ring);
        EXPECT_FALSE(Tree()->IsEditing());
        EXPECT_EQ(m_host.prompt, QString());
        const bool changed = c.ring != names;
        EXPECT_EQ(m_doc->IsModified(), changed);
        const QString name = c.typed.isNull() ? u"Untitled"_s : c.typed;
        EXPECT_EQ(entries(), changed ? shown + Q{name} : shown);
        if (!changed) {
            EXPECT_EQ(SectionsOf(Ring()), before);
            continue;
        }
        // The new entry is selected; a made section has an empty title and neither description nor
        // path, a named one keeps its own.
        EXPECT_EQ(CurrentText(), name);
        const bool made = c.ring.size() > before.size();
        const Section expected = made ? Section{c.group.toStdString(), name.toStdString(), "", {}, {}}
                                      : Section{"T", name.toStdString(), "Kept", "kd", "kp"};
        EXPECT_EQ(SectionsOf(Ring())[made ? before.size() : 0], expected);
        EXPECT_EQ(TitleEdit()->text(), QString::fromStdString(expected.title));
        EXPECT_TRUE(TitleEdit()->isEnabled());
    }
}

TEST_F(ProdCommands, addDoesNothingOnAnEntryAndWorksRightAfterAClickOnTheSelectedGroup)
{
    for (int command : {0, vl::cmd::kEditAdd, vl::cmd::kContextAdd}) {
        SCOPED_TRACE(command);
        Open(kXZY);
        const auto add = [&](const QModelIndex& on) {
            if (command == vl::cmd::kContextAdd)
                RightClick(LabelPoint(on), command); // grayed on an entry, but sent all the same
            else
                command ? (void)Page().ExecuteCommand(command) : Key(Qt::Key_Insert);
        };
        Click(EntryItem(u"P"_s, u"Y"_s));
        add(EntryItem(u"P"_s, u"Y"_s));
        EXPECT_FALSE(Tree()->IsEditing());
        EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"X"_s, u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}}));
        // A click on the selected label schedules an edit of the tree's own; the Add must not wait for it.
        Click(GroupItem(u"P"_s));
        Click(GroupItem(u"P"_s));
        add(GroupItem(u"P"_s));
        ASSERT_NE(LabelEditor(), nullptr);
        EXPECT_EQ(Tree()->EditIndex(), EntryItem(u"P"_s, u"Untitled"_s));
        EndLabel(u"Quick"_s);
        EXPECT_EQ(NamesOf(Ring()), With(kXZYNames, "P/Quick"));
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        EXPECT_FALSE(Tree()->IsEditing()) << "no edit of the tree's own follows";
    }
    Open(kGeneral);
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ProdCommands, removeAsksFirstAndOnYesTakesSectionAndItemOnlyTheFieldsFollowingTheNextItem)
{
    const struct {
        QString group, entry; // removed
        QString follows;      // the item selected afterwards, as the tree chooses it
        int how;              // Edit > Remove, the Delete key, the context menu
    } cases[] = {{u"P"_s, u"X"_s, u"Y"_s, 0}, {u"P"_s, u"Y"_s, u"X"_s, 1}, {u"Q"_s, u"Z"_s, u"Q"_s, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        Open(kXZYW);
        Click(EntryItem(c.group, c.entry));
        Retype(TitleEdit(), c.how == 2 ? QString() : u"unsaved title"_s); // a right click stores valid fields
        Retype(PathEdit(), u"unsaved path"_s);
        std::vector<Section> ring = SectionsOf(Ring());
        Shape tree = TreeShape();
        for (auto answer : {platform::MsgAnswer::No, platform::MsgAnswer::Yes}) {
            const bool yes = answer == platform::MsgAnswer::Yes;
            m_doc->SetModifiedFlag(false);
            Answer(answer);
            if (c.how == 2)
                RightClick(LabelPoint(EntryItem(c.group, c.entry)), vl::cmd::kContextRemove);
            else
                c.how ? Key(Qt::Key_Delete) : (void)Page().ExecuteCommand(vl::cmd::kEditRemove);
            EXPECT_EQ(TakeMessages(), Q{kRemoveQuestion});
            if (yes) {
                std::erase_if(ring, [&](const Section& s) { return s.name == c.entry.toStdString(); });
                tree[GroupItem(c.group).row()].entries.removeOne(c.entry);
            }
            EXPECT_EQ(SectionsOf(Ring()), ring);
            EXPECT_EQ(TreeShape(), tree) << "the tree is not rebuilt";
            EXPECT_EQ(m_doc->IsModified(), yes);
        }
        // The fields never carry the removed entry's unsaved texts to another.
        EXPECT_EQ(CurrentText(), c.follows);
        const vl::SectionNode* shown = Node(c.group.toStdString(), c.follows.toStdString());
        EXPECT_EQ(TitleEdit()->text().toStdString(), shown ? shown->title : "");
        EXPECT_EQ(PathEdit()->text().toStdString(), shown ? shown->path.value() : "");
        EXPECT_EQ(TitleEdit()->isEnabled(), shown != nullptr);
        EXPECT_TRUE(Page().CommitPage(true));
        EXPECT_EQ(SectionsOf(Ring()), ring);
    }
    // On a group nothing is asked.
    ASSERT_EQ(CurrentText(), u"Q"_s);
    Page().ExecuteCommand(vl::cmd::kEditRemove);
    Key(Qt::Key_Delete);
    EXPECT_EQ(TakeMessages(), Q{});
}

TEST_F(ProdCommands, renameRefusesANameTheGroupHasAndTakesOthers)
{
    const struct {
        const char* what;
        QString typed;
        Qt::Key end;
        std::string name; // X's afterwards
        QString message;
    } cases[] = {
        {"a new name", u"Xeno"_s, Qt::Key_Return, "Xeno", {}},
        {"51 characters", QString(51, u'r'), Qt::Key_Enter, std::string(51, 'r'), {}},
        {"the name of another group's entry", u"Z"_s, Qt::Key_Return, "Z", {}},
        {"its own name", u"X"_s, Qt::Key_Return, "X", kDuplicateMessage},
        {"its own name in other letter case", u"x"_s, Qt::Key_Return, "X", kDuplicateMessage},
        {"a sibling's name in other letter case", u"y"_s, Qt::Key_Return, "X", kDuplicateMessage},
        {"an empty name", u""_s, Qt::Key_Return, "X", {}},
        {"Escape", u"Other"_s, Qt::Key_Escape, "X", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(kXZYW);
        RightClick(LabelPoint(EntryItem(u"P"_s, u"X"_s)), vl::cmd::kContextRename);
        EndLabelAfterOverlong(c.typed, c.end, kSelectPrompt); // Rename leaves the prompt alone
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? Q{} : Q{c.message});
        EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/" + c.name, "Q/Z", "P/Y", "X/W"}));
        const QString name = QString::fromStdString(c.name);
        EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{name, u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}, {u"X"_s, Q{u"W"_s}}}));
        EXPECT_EQ(CurrentText(), name);
        EXPECT_EQ(SectionsOf(Ring())[1].title, "tx");
        EXPECT_EQ(m_doc->IsModified(), c.name != "X");
    }
}

TEST_F(ProdCommands, anEditStartedByClickingTheSelectedLabelChangesNothing)
{
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"X"_s));
    Click(EntryItem(u"P"_s, u"X"_s));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Tree()->IsEditing(); })) << "the edit begins after a delay";
    EndLabelAfterOverlong(u"Other"_s, Qt::Key_Return, kSelectPrompt);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);
    EXPECT_EQ(TreeShape()[0].entries, (Q{u"X"_s, u"Y"_s}));
    EXPECT_FALSE(m_doc->IsModified());

    // Group labels cannot be edited at all.
    Click(GroupItem(u"Q"_s));
    Click(GroupItem(u"Q"_s));
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    EXPECT_FALSE(Tree()->IsEditing());
}

TEST_F(ProdCommands, anUntitledEntryRenamedToNothingLeavesTheTreeUntilItIsRebuilt)
{
    Open(kGeneral + Sec("Untitled", "P", "tu", "du", "pu") + Sec("B", "P", "tb", "db", "pb"));
    Click(EntryItem(u"P"_s, u"Untitled"_s));
    Page().ExecuteCommand(vl::cmd::kEditRename);
    EndLabel(QString(), Qt::Key_Escape);
    EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"B"_s}}}));
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "P/Untitled", "P/B"}));
    EXPECT_EQ(CurrentText(), u"B"_s);
    EXPECT_EQ(TitleEdit()->text(), u"tb"_s);
    // The section is still there: adding Untitled again is a duplicate.
    Click(GroupItem(u"P"_s));
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    EndLabel(QString());
    EXPECT_EQ(TakeMessages(), Q{kDuplicateMessage});
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ProdCommands, moveNeverPassesTheEndsOfAGroupNorMovesAGroup)
{
    const struct {
        const char* what;
        QString group, entry; // selected; no entry: the group; neither: nothing
        int command;
    } cases[] = {
        {"first up", u"P"_s, u"X"_s, vl::cmd::kMoveUp}, {"last down", u"P"_s, u"Y"_s, vl::cmd::kMoveDown},
        {"only up", u"Q"_s, u"Z"_s, vl::cmd::kMoveUp},  {"only down", u"Q"_s, u"Z"_s, vl::cmd::kMoveDown},
        {"group up", u"Q"_s, {}, vl::cmd::kMoveUp},     {"group down", u"P"_s, {}, vl::cmd::kMoveDown},
        {"nothing up", {}, {}, vl::cmd::kMoveUp},       {"nothing down", {}, {}, vl::cmd::kMoveDown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(kXZY, !c.group.isEmpty());
        const std::vector<Section> before = SectionsOf(Ring());
        if (!c.group.isEmpty())
            Click(c.entry.isEmpty() ? GroupItem(c.group) : EntryItem(c.group, c.entry));
        if (TitleEdit()->isEnabled())
            Retype(TitleEdit(), QString()); // not even a commit is tried
        m_doc->SetModifiedFlag(false);
        Page().ExecuteCommand(c.command);
        EXPECT_EQ(TakeMessages(), Q{});
        EXPECT_EQ(SectionsOf(Ring()), before);
        EXPECT_EQ(CurrentText(), c.entry.isEmpty() ? c.group : c.entry);
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(ProdCommands, moveTakesAnEntryPastItsSiblingDroppingInvalidFieldsAfterTheMessage)
{
    for (bool down : {true, false}) {
        const QString selected = down ? u"X"_s : u"Y"_s;
        SCOPED_TRACE(selected.toStdString());
        Open(kXZY);
        const std::vector<Section> s = SectionsOf(Ring());
        Click(EntryItem(u"P"_s, selected));
        if (down) {
            Retype(TitleEdit(), QString());
            Retype(PathEdit(), u"typed path"_s);
        }
        m_doc->SetModifiedFlag(false);
        Page().ExecuteCommand(down ? vl::cmd::kMoveDown : vl::cmd::kMoveUp);
        EXPECT_EQ(TakeMessages(), down ? Q{kTitleMessage} : Q{});
        EXPECT_EQ(SectionsOf(Ring()), (std::vector<Section>{s[0], s[2], s[3], s[1]}));
        EXPECT_EQ(TreeShape(), (Shape{{u"Q"_s, Q{u"Z"_s}}, {u"P"_s, Q{u"Y"_s, u"X"_s}}}));
        EXPECT_TRUE(Tree()->isExpanded(GroupItem(u"Q"_s))) << "the rebuilt tree expands its first group";
        EXPECT_EQ(CurrentText(), selected);
        EXPECT_EQ(Fields(), down ? (Q{u"tx"_s, u"dx"_s, u"px"_s}) : (Q{u"ty"_s, u"dy"_s, u"py"_s}));
        EXPECT_TRUE(m_doc->IsModified());
    }
    // Y now stands first in P: up again is nothing; X, second, goes up past it.
    Page().ExecuteCommand(vl::cmd::kMoveUp);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/Y", "P/X"}));
    Click(EntryItem(u"P"_s, u"X"_s));
    Page().ExecuteCommand(vl::cmd::kMoveUp);
    EXPECT_EQ(NamesOf(Ring()), (Names{"GENERAL/GENERAL", "Q/Z", "P/X", "P/Y"}));
}

TEST_F(ProdCommands, twinNamesInOneGroupDoNotMove)
{
    Open(Sec("A", "P", "ta") + Sec("a", "P", "tb"));
    const std::vector<Section> twins = SectionsOf(Ring());
    for (int command : {vl::cmd::kMoveDown, vl::cmd::kMoveUp}) {
        Click(EntryItem(u"P"_s, command == vl::cmd::kMoveDown ? u"A"_s : u"a"_s));
        Page().ExecuteCommand(command);
        EXPECT_EQ(SectionsOf(Ring()), twins);
        EXPECT_EQ(TreeShape(), (Shape{{u"P"_s, Q{u"A"_s, u"a"_s}}}));
        EXPECT_EQ(CurrentText(), u"A"_s) << "both names find the first of the twins";
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(ProdCommands, aMoveDuringAnAddEndsTheAdd)
{
    // Add acts on the item last right-clicked while an entry stays selected; Move acts on that entry.
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"X"_s));
    const QRect group = Tree()->visualRect(GroupItem(u"Q"_s));
    RightClick({group.right() - 2, group.center().y()});
    Page().ExecuteCommand(vl::cmd::kEditAdd);
    ASSERT_TRUE(Tree()->IsEditing());
    Page().ExecuteCommand(vl::cmd::kMoveDown);
    const Names zyx{"GENERAL/GENERAL", "Q/Z", "P/Y", "P/X"};
    EXPECT_EQ(NamesOf(Ring()), zyx);
    EXPECT_EQ(TreeShape(), (Shape{{u"Q"_s, Q{u"Z"_s}}, {u"P"_s, Q{u"Y"_s, u"X"_s}}}));
    EXPECT_FALSE(Tree()->IsEditing());

    // A later edit started in the tree is no Add.
    ASSERT_EQ(CurrentText(), u"X"_s);
    Tree()->StartEdit(Tree()->currentIndex());
    EndLabel(u"Stray"_s);
    EXPECT_EQ(NamesOf(Ring()), zyx);
    EXPECT_EQ(TreeShape()[1].entries, (Q{u"Y"_s, u"X"_s}));
}

} // namespace
