// The Product page's tree: its shape for a ring, selection with refusal, command enabling, context menu.
#include "ProdTestSupport.h"

using namespace Qt::StringLiterals;
using namespace vltest::prod;

namespace {

using Q = QStringList;

class ProdTree : public ProdPageTest {};

const std::string kXZY = kGeneral + Sec("X", "P", "tx", "dx", "px") + Sec("Z", "Q", "tz", "dz", "pz") +
                         Sec("Y", "P", "ty", "dy", "py");

TEST_F(ProdTree, showsOneGroupPerParentAndHidesGeneralAndMisc)
{
    enum class Source { Text, NoRing, SentinelOnly };
    struct Case {
        const char* what;
        Source source;
        std::string config;
        Shape expected;
    };
    const Case cases[] = {
        {"no ring", Source::NoRing, "", {}},
        {"a ring of the sentinel alone", Source::SentinelOnly, "", {}},
        {"only the general section", Source::Text, kGeneral, {}},
        {"MISC hidden although its BIOSSTR names the heading; lower-case misc shown",
         Source::Text,
         kGeneral + "[MISC]\nBIOSSTR=Velmora Products\n" + Sec("Disk", "Velmora Products") +
             Sec("misc", "Velmora Products"),
         {{u"Velmora Products"_s, Q{u"Disk"_s, u"misc"_s}}}},
        {"heading as written, then in capitals",
         Source::Text,
         Sec("A", "Velmora Products") + Sec("B", "VELMORA PRODUCTS"),
         {{u"Velmora Products"_s, Q{u"A"_s, u"B"_s}}}},
        {"heading in capitals first",
         Source::Text,
         Sec("B", "VELMORA PRODUCTS") + Sec("A", "Velmora Products"),
         {{u"VELMORA PRODUCTS"_s, Q{u"B"_s, u"A"_s}}}},
        {"an entry under another entry stands in a top-level group of that name",
         Source::Text,
         Sec("Drivers", "Velmora Products") + Sec("Audio", "Drivers") + Sec("Manuals", "Velmora Products") +
             Sec("Mixer", "Audio"),
         {{u"Velmora Products"_s, Q{u"Drivers"_s, u"Manuals"_s}},
          {u"Drivers"_s, Q{u"Audio"_s}},
          {u"Audio"_s, Q{u"Mixer"_s}}}},
        {"a nameless section gives its group and no entry",
         Source::Text,
         Sec("", "Tools") + Sec("A", "Velmora Products") + Sec("", "Velmora Products"),
         {{u"Tools"_s, Q{}}, {u"Velmora Products"_s, Q{u"A"_s}}}},
        {"GENERAL with another parent, a child of GENERAL, a lower-case general",
         Source::Text,
         kGeneral + "[GENERAL]\nPARENT=Velmora Products\n" + Sec("Boot", "GENERAL") +
             Sec("general", "GENERAL"),
         {{u"Velmora Products"_s, Q{u"GENERAL"_s}}, {u"GENERAL"_s, Q{u"Boot"_s, u"general"_s}}}},
        {"groups stand in the order their parent first occurs",
         Source::Text,
         kXZY,
         {{u"P"_s, Q{u"X"_s, u"Y"_s}}, {u"Q"_s, Q{u"Z"_s}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.source == Source::SentinelOnly) {
            auto* sentinel = vl::CreateSectionNode(vl::kSentinelMark, vl::kSentinelMark, "", {}, {});
            sentinel->next = sentinel;
            OpenRing(sentinel);
        } else {
            Open(c.config);
        }
        EXPECT_EQ(TreeShape(), c.expected);
        // Only the first group is expanded, and every entry finds its section.
        for (int row = 0; row < Model()->rowCount(); ++row) {
            const QModelIndex group = Model()->index(row, 0);
            EXPECT_EQ(Tree()->isExpanded(group), row == 0) << group.data().toString().toStdString();
            for (int child = 0; child < Model()->rowCount(group); ++child) {
                const QModelIndex entry = Model()->index(child, 0, group);
                const vl::SectionNode* node = Node(platform::ToCp1252(group.data().toString()).value(),
                                                   platform::ToCp1252(entry.data().toString()).value());
                ASSERT_NE(node, nullptr) << entry.data().toString().toStdString();
            }
        }
        EXPECT_FALSE(TitleEdit()->isEnabled());
        EXPECT_FALSE(m_doc->IsModified());
    }
}

// Selects index by a left click, by the arrow keys, or through the context menu (dismissed).
enum class Route { Click, Keys, ContextMenu };
const char* NameOf(Route route)
{
    return route == Route::Click ? "click" : route == Route::Keys ? "keys" : "context menu";
}

class ProdTreeSelect : public ProdTree {
protected:
    void SelectBy(Route route, const QModelIndex& index)
    {
        const QPersistentModelIndex target(index);
        switch (route) {
        case Route::Click:
            Click(target);
            break;
        case Route::ContextMenu:
            RightClick(LabelPoint(target));
            break;
        case Route::Keys:
            for (int i = 0; i < 10 && Tree()->currentIndex() != target; ++i) {
                const QModelIndex before = Tree()->currentIndex();
                Key(Tree()->visualRect(target).top() > Tree()->visualRect(before).top() ? Qt::Key_Down
                                                                                        : Qt::Key_Up);
                if (Tree()->currentIndex() == before)
                    break; // refused
            }
            break;
        }
    }
};

TEST_F(ProdTreeSelect, anEntryFillsAndEnablesTheFieldsAGroupEmptiesAndDisablesThem)
{
    for (Route route : {Route::Click, Route::Keys, Route::ContextMenu}) {
        SCOPED_TRACE(NameOf(route));
        Open(kGeneral + Sec("X", "P", "Title of X", "first\r\rsecond", "C:\\X.EXE") +
             Sec("Z", "Q", "tz", "dz", "pz") + Sec("Y", "R", "ty", "", ""));
        Tree()->expandAll(); // so that the arrow keys reach every row
        m_host.prompt.clear();
        SelectBy(route, EntryItem(u"P"_s, u"X"_s));
        EXPECT_EQ(CurrentText(), u"X"_s);
        EXPECT_EQ(QModelIndex(Page().m_hCurItem), Tree()->currentIndex());
        EXPECT_EQ(TitleEdit()->text(), u"Title of X"_s);
        EXPECT_EQ(DescriptionEdit()->toPlainText(), u"first\nsecond"_s);
        EXPECT_EQ(PathEdit()->text(), u"C:\\X.EXE"_s);
        for (QWidget* w :
             std::initializer_list<QWidget*>{TitleEdit(), DescriptionEdit(), PathEdit(), BrowseButton()})
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_EQ(m_host.prompt, kSelectPrompt);

        SelectBy(route, GroupItem(u"Q"_s));
        EXPECT_EQ(CurrentText(), u"Q"_s);
        for (QWidget* w :
             std::initializer_list<QWidget*>{TitleEdit(), DescriptionEdit(), PathEdit(), BrowseButton()})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(TitleEdit()->text().isEmpty() && DescriptionEdit()->toPlainText().isEmpty() &&
                    PathEdit()->text().isEmpty());

        // No description and no path show as empty fields.
        SelectBy(route, EntryItem(u"R"_s, u"Y"_s));
        EXPECT_EQ(CurrentText(), u"Y"_s);
        EXPECT_EQ(TitleEdit()->text(), u"ty"_s);
        EXPECT_EQ(DescriptionEdit()->toPlainText(), QString());
        EXPECT_EQ(PathEdit()->text(), QString());
        EXPECT_TRUE(PathEdit()->isEnabled());
        // Moving on from an untouched entry stored nothing new, and filling is no change of the user's.
        EXPECT_EQ(Node("R", "Y")->description, std::nullopt);
        EXPECT_EQ(Node("R", "Y")->path, std::nullopt);
        EXPECT_EQ(Node("P", "X")->description, "first\r\nsecond");
        EXPECT_FALSE(m_doc->IsModified());
    }
}

TEST_F(ProdTreeSelect, invalidFieldsKeepTheSelectionWhicheverWayItIsMoved)
{
    struct Breaker {
        const char* what;
        std::function<void(ProdTreeSelect&)> spoil;
        QString message;
    };
    const Breaker breakers[] = {
        {"empty title", [](ProdTreeSelect& t) { Retype(t.TitleEdit(), QString()); }, kTitleMessage},
        {"empty description", [](ProdTreeSelect& t) { Retype(t.DescriptionEdit(), QString()); },
         kDescriptionMessage},
        {"empty path", [](ProdTreeSelect& t) { Retype(t.PathEdit(), QString()); }, kPathMessage},
    };
    for (const Breaker& b : breakers) {
        for (Route route : {Route::Click, Route::Keys, Route::ContextMenu}) {
            SCOPED_TRACE(std::string(b.what) + " / " + NameOf(route));
            Open(kXZY);
            Click(EntryItem(u"P"_s, u"X"_s));
            b.spoil(*this);
            Retype(TitleEdit(), b.message == kTitleMessage ? QString() : u"changed"_s);
            const std::vector<Section> before = SectionsOf(Ring());
            const QString spoiledTitle = TitleEdit()->text();
            m_host.prompt.clear();

            SelectBy(route, EntryItem(u"P"_s, u"Y"_s));
            EXPECT_EQ(TakeMessages(), Q{b.message});
            EXPECT_EQ(CurrentText(), u"X"_s);
            EXPECT_EQ(Page().m_hCurItem.data().toString(), u"X"_s);
            EXPECT_TRUE(Tree()->selectionModel()->isSelected(EntryItem(u"P"_s, u"X"_s)));
            EXPECT_FALSE(Tree()->selectionModel()->isSelected(EntryItem(u"P"_s, u"Y"_s)));
            EXPECT_EQ(TitleEdit()->text(), spoiledTitle);
            EXPECT_EQ(SectionsOf(Ring()), before) << "a refused commit stores no field";
            // The prompt follows every attempt to move the selection; the context menu made none.
            EXPECT_EQ(m_host.prompt, route == Route::ContextMenu ? QString() : kSelectPrompt);

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

TEST_F(ProdTree, editCommandsFollowTheSelectedItem)
{
    struct Case {
        const char* what;
        std::function<void(ProdTree&)> select;
        bool add, removeAndRename;
    };
    const Case cases[] = {
        {"nothing selected", [](ProdTree& t) { t.Open(kXZY, false); }, true, false},
        {"a group",
         [](ProdTree& t) {
             t.Open(kXZY);
             t.Click(t.GroupItem(u"Q"_s));
         },
         true, false},
        {"an entry",
         [](ProdTree& t) {
             t.Open(kXZY);
             t.Click(t.EntryItem(u"P"_s, u"Y"_s));
         },
         false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.select(*this);
        EXPECT_EQ(Enabled(vl::cmd::kEditAdd), c.add);
        EXPECT_EQ(Enabled(vl::cmd::kEditRemove), c.removeAndRename);
        EXPECT_EQ(Enabled(vl::cmd::kEditRename), c.removeAndRename);
        EXPECT_TRUE(Enabled(vl::cmd::kMoveUp));
        EXPECT_TRUE(Enabled(vl::cmd::kMoveDown));
    }
    platform::CommandState state;
    EXPECT_FALSE(Page().UpdateCommand(vl::cmd::kPreview, state)) << "not the page's command";
}

TEST_F(ProdTree, contextMenuOffersAddOnAGroupAndRemoveRenameOnAnEntry)
{
    Open(kXZY);
    EXPECT_EQ(RightClick(LabelPoint(GroupItem(u"Q"_s))), QList<int>{vl::cmd::kContextAdd});
    EXPECT_EQ(CurrentText(), u"Q"_s);
    EXPECT_EQ(Page().m_hCurItem.data().toString(), u"Q"_s);

    const QList<int> entryItems{vl::cmd::kContextRemove, vl::cmd::kContextRename};
    EXPECT_EQ(RightClick(LabelPoint(EntryItem(u"P"_s, u"Y"_s))), entryItems);
    EXPECT_EQ(CurrentText(), u"Y"_s);
    EXPECT_EQ(TitleEdit()->text(), u"ty"_s);

    // With invalid fields, the item already acted on still gets its menu, silently.
    Retype(PathEdit(), QString());
    EXPECT_EQ(RightClick(LabelPoint(EntryItem(u"P"_s, u"Y"_s))), entryItems);
    EXPECT_EQ(TakeMessages(), Q{});
    // Another item: the message and no menu.
    EXPECT_EQ(RightClick(LabelPoint(GroupItem(u"Q"_s))), QList<int>{-1});
    EXPECT_EQ(TakeMessages(), Q{kPathMessage});
    EXPECT_EQ(Page().m_hCurItem.data().toString(), u"Y"_s);

    // Choosing an item runs its command: Rename starts a label edit on the entry.
    Retype(PathEdit(), u"py"_s);
    RightClick(LabelPoint(EntryItem(u"P"_s, u"X"_s)), vl::cmd::kContextRename);
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::Renaming);
    EXPECT_EQ(Tree()->EditIndex(), EntryItem(u"P"_s, u"X"_s));
    EndLabel(QString(), Qt::Key_Escape);
    EXPECT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
    EXPECT_EQ(Node("P", "Y")->path, "py") << "the right click stored the valid fields of the entry it left";
}

TEST_F(ProdTree, rightClickBesideALabelShowsNoMenu)
{
    Open(kXZY);
    Click(EntryItem(u"P"_s, u"X"_s));
    const QRect row = Tree()->visualRect(GroupItem(u"Q"_s));

    // On the empty rest of a row: the item becomes the one acted on, the selection stays.
    EXPECT_EQ(RightClick({row.right() - 2, row.center().y()}), QList<int>{-1});
    EXPECT_EQ(Page().m_hCurItem.data().toString(), u"Q"_s);
    EXPECT_EQ(CurrentText(), u"X"_s);

    // On the expand button left of a group's label.
    EXPECT_EQ(RightClick({row.left() - Tree()->indentation() / 2, row.center().y()}), QList<int>{-1});
    EXPECT_EQ(CurrentText(), u"X"_s);

    // Below the last row: nothing is acted on, so Add, Remove and Rename do nothing although the
    // Edit menu follows the selected entry.
    EXPECT_EQ(RightClick({row.left() + 3, row.bottom() + 30}), QList<int>{-1}) << "Q is the last row shown";
    EXPECT_FALSE(Page().m_hCurItem.isValid());
    EXPECT_TRUE(Enabled(vl::cmd::kEditRemove));
    const Shape shape = TreeShape();
    for (int id : {vl::cmd::kEditAdd, vl::cmd::kEditRemove, vl::cmd::kEditRename})
        Page().ExecuteCommand(id);
    EXPECT_FALSE(Tree()->IsEditing());
    EXPECT_EQ(TreeShape(), shape);
    EXPECT_EQ(NamesOf(Ring()), (std::vector<std::string>{"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y"}));
}

} // namespace
