// The Product page's tree: its shape for a ring, selection with refusal, command enabling, context menu.
#include "ProdTestSupport.h"

using namespace vltest::prod;

namespace
{

class ProdTree : public ProdPageTest
{
  protected:
    // Selects index by a left click, by the arrow keys, or through the context menu (dismissed).
    enum class Route { Click, Keys, ContextMenu };
    void SelectBy(Route route, const QModelIndex& index)
    {
        const QPersistentModelIndex target(index);
        if (route == Route::Click)
            return Click(target);
        if (route == Route::ContextMenu)
            return (void)RightClick(LabelPoint(target));
        for (int i = 0; i < 10 && Tree()->currentIndex() != target; ++i) {
            const QModelIndex before = Tree()->currentIndex();
            const bool below = Tree()->visualRect(target).top() > Tree()->visualRect(before).top();
            Key(below ? Qt::Key_Down : Qt::Key_Up);
            if (Tree()->currentIndex() == before)
                break; // refused
        }
    }
    static constexpr Route kRoutes[] = {Route::Click, Route::Keys, Route::ContextMenu};
    static const char* NameOf(Route route) { return std::array{"click", "keys", "context menu"}[int(route)]; }
    // The fields and the Edit menu's commands follow whether an entry is selected.
    void ExpectEntrySelected(bool entry)
    {
        for (const char* name : {"titleEdit", "descriptionEdit", "pathEdit", "browseButton"})
            EXPECT_EQ(Control<QWidget>(name)->isEnabled(), entry) << name;
        EXPECT_EQ(Enabled(vl::cmd::kEditAdd), !entry);
        EXPECT_EQ(Enabled(vl::cmd::kEditRemove), entry);
        EXPECT_EQ(Enabled(vl::cmd::kEditRename), entry);
        EXPECT_TRUE(Enabled(vl::cmd::kMoveUp) && Enabled(vl::cmd::kMoveDown));
    }
};

TEST_F(ProdTree, showsOneGroupPerParentAndHidesGeneralAndMisc)
{
    const struct {
        const char* what;
        std::string config;
        Shape expected;
    } cases[] = {
        {"no ring", "", {}},
        {"MISC hidden although its BIOSSTR names the heading; lower-case misc shown",
         kGeneral + "[MISC]\nBIOSSTR=V\n" + Sec("Disk", "V") + Sec("misc", "V"),
         {{u"V"_s, Q{u"Disk"_s, u"misc"_s}}}},
        {"the heading as first written, capitals or not",
         Sec("B", "VELMORA PRODUCTS") + Sec("A", "Velmora Products") + Sec("C", "Tools") + Sec("D", "tools"),
         {{u"VELMORA PRODUCTS"_s, Q{u"B"_s, u"A"_s}}, {u"Tools"_s, Q{u"C"_s, u"D"_s}}}},
        {"an entry under another entry stands in a top-level group of that name",
         Sec("D", "V") + Sec("A", "D") + Sec("M", "V") + Sec("X", "A"),
         {{u"V"_s, Q{u"D"_s, u"M"_s}}, {u"D"_s, Q{u"A"_s}}, {u"A"_s, Q{u"X"_s}}}},
        {"a nameless section gives its group and no entry",
         Sec("", "Tools") + Sec("A", "V") + Sec("", "V"),
         {{u"Tools"_s, Q{}}, {u"V"_s, Q{u"A"_s}}}},
        {"GENERAL with another parent, a child of GENERAL, a lower-case general",
         kGeneral + "[GENERAL]\nPARENT=V\n" + Sec("Boot", "GENERAL") + Sec("general", "GENERAL"),
         {{u"V"_s, Q{u"GENERAL"_s}}, {u"GENERAL"_s, Q{u"Boot"_s, u"general"_s}}}},
        {"groups in order of first parent", kXZY, {{u"P"_s, Q{u"X"_s, u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}}},
        {"only the general section (last: see below)", kGeneral, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(c.config);
        EXPECT_EQ(TreeShape(), c.expected);
        for (int row = 0; row < Model()->rowCount(); ++row)
            EXPECT_EQ(Tree()->isExpanded(Model()->index(row, 0)), row == 0) << "only the first group is open";
        ExpectEntrySelected(false);
        EXPECT_FALSE(m_doc->IsModified());
    }
    // Without the general section, the sentinel alone.
    ASSERT_NE(vl::RemoveSection(Ring(), Node("GENERAL", "GENERAL")), nullptr);
    Page().OnInitialUpdate();
    EXPECT_EQ(TreeShape(), Shape{});
}

TEST_F(ProdTree, anEntryFillsAndEnablesTheFieldsAGroupEmptiesAndDisablesThem)
{
    for (Route route : kRoutes) {
        SCOPED_TRACE(NameOf(route));
        Open(kGeneral + Sec("X", "P", "Title of X", "first\r\rsecond", "C:\\X.EXE") +
             Sec("Z", "Q", "tz", "dz", "pz") + Sec("Y", "R", "ty", "", ""));
        const std::vector<Section> loaded = SectionsOf(Ring());
        Tree()->expandAll(); // so that the arrow keys reach every row
        m_host.prompt.clear();
        SelectBy(route, EntryItem(u"P"_s, u"X"_s));
        EXPECT_EQ(CurrentText(), u"X"_s);
        EXPECT_EQ(Fields(), (Q{u"Title of X"_s, u"first\nsecond"_s, u"C:\\X.EXE"_s}));
        ExpectEntrySelected(true);
        EXPECT_EQ(m_host.prompt, kSelectPrompt);

        SelectBy(route, GroupItem(u"Q"_s));
        EXPECT_EQ(CurrentText(), u"Q"_s);
        ExpectEntrySelected(false);
        EXPECT_EQ(Fields(), (Q{QString(), QString(), QString()}));

        // No description and no path show as empty fields, and moving on from untouched entries stores
        // nothing new.
        SelectBy(route, EntryItem(u"R"_s, u"Y"_s));
        EXPECT_EQ(CurrentText(), u"Y"_s);
        EXPECT_EQ(Fields(), (Q{u"ty"_s, QString(), QString()}));
        ExpectEntrySelected(true);
        EXPECT_EQ(SectionsOf(Ring()), loaded);
        EXPECT_EQ(loaded[1].description, "first\r\nsecond");
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(ProdTree, invalidFieldsKeepTheSelectionWhicheverWayItIsMoved)
{
    const std::pair<QString, std::function<void(ProdTree&)>> breakers[] = {
        {kTitleMessage, [](ProdTree& t) { Retype(t.TitleEdit(), QString()); }},
        {kDescriptionMessage, [](ProdTree& t) { Retype(t.DescriptionEdit(), QString()); }},
        {kPathMessage, [](ProdTree& t) { Retype(t.PathEdit(), QString()); }},
    };
    for (const auto& [message, spoil] : breakers) {
        for (Route route : kRoutes) {
            SCOPED_TRACE(message.toStdString() + " / " + NameOf(route));
            Open(kXZY);
            Click(EntryItem(u"P"_s, u"X"_s));
            if (message != kTitleMessage)
                Retype(TitleEdit(), u"changed"_s);
            spoil(*this);
            const std::vector<Section> before = SectionsOf(Ring());
            for (int attempt = 0; attempt < 2; ++attempt) {
                m_host.prompt.clear();
                SelectBy(route, EntryItem(u"P"_s, u"Y"_s));
                EXPECT_EQ(TakeMessages(), Q{message});
                EXPECT_EQ(CurrentText(), u"X"_s);
                EXPECT_EQ(ActedText(), u"X"_s);
                const QModelIndexList selected{EntryItem(u"P"_s, u"X"_s)};
                EXPECT_EQ(Tree()->selectionModel()->selectedRows(), selected);
                EXPECT_EQ(TitleEdit()->text(), message == kTitleMessage ? QString() : u"changed"_s);
                EXPECT_EQ(SectionsOf(Ring()), before) << "a refused commit stores no field";
                // The prompt follows every attempt to move the selection; the context menu made none.
                EXPECT_EQ(m_host.prompt, route == Route::ContextMenu ? QString() : kSelectPrompt);
            }

            // Once repaired, the same move goes through and stores what was typed.
            Retype(TitleEdit(), u"repaired"_s);
            Retype(DescriptionEdit(), u"d"_s);
            Retype(PathEdit(), u"p"_s);
            SelectBy(route, EntryItem(u"P"_s, u"Y"_s));
            EXPECT_EQ(TakeMessages(), Q{});
            EXPECT_EQ(CurrentText(), u"Y"_s);
            EXPECT_EQ(Node("P", "X")->title, "repaired");
            EXPECT_TRUE(m_doc->IsModified());
        }
    }
}

TEST_F(ProdTree, contextMenuOnlyOnALabelOffersAddOnAGroupAndRemoveRenameOnAnEntry)
{
    Open(kXZY);
    EXPECT_EQ(RightClick(LabelPoint(GroupItem(u"Q"_s))), QList<int>{vl::cmd::kContextAdd});
    const QList<int> entryItems{vl::cmd::kContextRemove, vl::cmd::kContextRename};
    EXPECT_EQ(RightClick(LabelPoint(EntryItem(u"P"_s, u"Y"_s))), entryItems);

    // With invalid fields, the item already acted on still gets its menu, silently; another item
    // brings the message and no menu.
    Retype(PathEdit(), QString());
    EXPECT_EQ(RightClick(LabelPoint(EntryItem(u"P"_s, u"Y"_s))), entryItems);
    EXPECT_EQ(TakeMessages(), Q{});
    EXPECT_EQ(RightClick(LabelPoint(GroupItem(u"Q"_s))), QList<int>{-1});
    EXPECT_EQ(TakeMessages(), Q{kPathMessage});
    EXPECT_EQ(ActedText(), u"Y"_s);

    Retype(PathEdit(), u"py"_s);
    RightClick(LabelPoint(EntryItem(u"P"_s, u"X"_s)));
    EXPECT_EQ(Node("P", "Y")->path, "py") << "the right click stored the valid fields of the entry it left";

    // Beside a label, on the empty rest of the row or the expand button: the item becomes the one
    // acted on, the selection stays, no menu.
    const QRect row = Tree()->visualRect(GroupItem(u"Q"_s));
    EXPECT_EQ(RightClick({row.right() - 2, row.center().y()}), QList<int>{-1});
    EXPECT_EQ(ActedText(), u"Q"_s);
    EXPECT_EQ(RightClick({row.left() - Tree()->indentation() / 2, row.center().y()}), QList<int>{-1});
    EXPECT_EQ(CurrentText(), u"X"_s);

    // Below the last row nothing is acted on, so Add, Remove and Rename do nothing although the Edit
    // menu follows the selected entry.
    EXPECT_EQ(RightClick({row.left() + 3, row.bottom() + 30}), QList<int>{-1}) << "Q is the last row shown";
    EXPECT_TRUE(Enabled(vl::cmd::kEditRemove));
    const Shape shape = TreeShape();
    for (int id : {vl::cmd::kEditAdd, vl::cmd::kEditRemove, vl::cmd::kEditRename})
        Page().ExecuteCommand(id);
    EXPECT_FALSE(Tree()->IsEditing());
    EXPECT_EQ(TreeShape(), shape);
    EXPECT_EQ(NamesOf(Ring()), kXZYNames);
}

} // namespace
