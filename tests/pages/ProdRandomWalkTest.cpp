// A long seeded random walk over the Product page, checked after every step against a model of its rules.
#include "ProdTestSupport.h"

#include <QElapsedTimer>
#include <deque>
#include <map>
#include <random>

using namespace Qt::StringLiterals;
using namespace vltest::prod;

namespace {

constexpr int kSteps = 10000;
constexpr unsigned kSeed = 20240611;

// An item by its texts: the group's text, and the entry's (empty for the group item itself).
struct Item {
    bool valid = false;
    QString group, entry;
    bool IsEntry() const { return valid && !entry.isEmpty(); }
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    if (!item.valid)
        return out << "<none>";
    return out << item.group.toStdString() << (item.entry.isEmpty() ? "" : " / " + item.entry.toStdString());
}

std::string Bytes(const QString& text)
{
    return platform::ToCp1252(text).value();
}

QString Flipped(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return out;
}

// What the page should hold after each step, following its rules independently of its code.
struct Expected {
    std::vector<Section> ring;
    Shape tree;
    Item current, acted; // the tree's current item; the item Add, Remove and Rename act on
    bool enabled = false;
    QString title, description, path;
    QString prompt;
    QStringList messages;
    bool modified = false;
    std::vector<std::pair<std::string, std::string>> hidden; // sections whose item was deleted
    std::map<std::string, int> seen;                         // how often each outcome came up

    int Find(const std::string& parent, const std::string& name) const
    {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            if (vl::EqualsIgnoreCase(ring[i].parent, parent) && vl::EqualsIgnoreCase(ring[i].name, name))
                return static_cast<int>(i);
        }
        return -1;
    }
    int Find(const Item& item) const { return Find(Bytes(item.group), Bytes(item.entry)); }
    Group& GroupOf(const QString& text)
    {
        return *std::find_if(tree.begin(), tree.end(), [&](const Group& g) { return g.text == text; });
    }

    void Show(const Section& s)
    {
        enabled = true;
        title = platform::FromCp1252(s.title);
        description = platform::FromCp1252(s.description.value_or("")).replace(u"\r\n"_s, u"\n"_s);
        path = platform::FromCp1252(s.path.value_or(""));
    }
    void Clear()
    {
        enabled = false;
        title.clear();
        description.clear();
        path.clear();
    }

    bool Commit(bool showMessages)
    {
        if (!current.IsEntry())
            return true;
        const std::string storedDescription = Bytes(QString(description).replace(u"\n"_s, u"\r\n"_s));
        QString refusal;
        if (title.isEmpty() || Bytes(title).size() > 63)
            refusal = kTitleMessage;
        else if (storedDescription.empty() || storedDescription.size() > 240)
            refusal = kDescriptionMessage;
        else if (path.isEmpty())
            refusal = kPathMessage;
        if (!refusal.isEmpty()) {
            if (showMessages)
                messages.append(refusal);
            return false;
        }
        if (const int i = Find(current); i >= 0) {
            ring[i].title = Bytes(title);
            ring[i].description = storedDescription;
            ring[i].path = Bytes(path);
        }
        return true;
    }

    // The tree asks before its current item changes.
    void Select(const Item& target)
    {
        if (target == current)
            return;
        prompt = kSelectPrompt;
        if (current.valid && !Commit(true)) {
            ++seen["selection refused"];
            return;
        }
        ++seen["selection moved"];
        Follow(target);
    }
    // The fields follow the item without a commit.
    void Follow(const Item& target)
    {
        if (target.IsEntry()) {
            if (const int i = Find(target); i >= 0)
                Show(ring[i]);
        } else {
            Clear();
        }
        current = acted = target;
    }

    // The page deletes an entry item; the tree picks the next current item itself: the one below,
    // else the one above, else the group.
    // An Add's placeholder may share its text with an entry above it: it is always the last row.
    void DeleteItem(const Item& item, bool placeholder = false)
    {
        Group& g = GroupOf(item.group);
        const int row =
            static_cast<int>(placeholder ? g.entries.lastIndexOf(item.entry) : g.entries.indexOf(item.entry));
        const bool wasCurrent = item == current && g.entries.indexOf(current.entry) == row;
        const bool wasActed = item == acted && g.entries.indexOf(acted.entry) == row;
        Item next{true, g.text, {}};
        if (row + 1 < g.entries.size())
            next.entry = g.entries[row + 1];
        else if (row > 0)
            next.entry = g.entries[row - 1];
        g.entries.removeAt(row);
        if (wasActed)
            acted = {};
        if (wasCurrent)
            Follow(next);
    }

    void Rebuild()
    {
        tree = ExpectedShape(ring);
        hidden.clear();
    }
};

class ProdRandomWalk : public ProdPageTest {
protected:
    std::mt19937 m_rng{kSeed};
    Expected m;
    std::deque<std::string> m_trail;
    int m_counter = 0;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    QString RandomText(int maxLength, int minLength = 0)
    {
        static const QString letters = u"abcdefghijKLMNOPQRST 0123456789"_s;
        QString out;
        const int length = minLength + Pick(maxLength - minLength + 1);
        for (int i = 0; i < length; ++i)
            out += letters[Pick(static_cast<int>(letters.size()))];
        return out;
    }
    void Note(const std::string& what)
    {
        m_trail.push_back(what);
        if (m_trail.size() > 25)
            m_trail.pop_front();
    }

    Item ItemOf(const QModelIndex& index) const
    {
        if (!index.isValid())
            return {};
        if (!index.parent().isValid())
            return {true, index.data().toString(), {}};
        return {true, index.parent().data().toString(), index.data().toString()};
    }
    std::vector<QModelIndex> VisibleItems()
    {
        std::vector<QModelIndex> out;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            const QModelIndex group = Model()->index(row, 0);
            out.push_back(group);
            if (Tree()->isExpanded(group)) {
                for (int child = 0; child < Model()->rowCount(group); ++child)
                    out.push_back(Model()->index(child, 0, group));
            }
        }
        return out;
    }
    int EntryCount() const
    {
        int n = 0;
        for (const Group& g : m.tree)
            n += static_cast<int>(g.entries.size());
        return n;
    }

    // ---- steps --------------------------------------------------------------------------------

    void ClickSomewhere()
    {
        const std::vector<QModelIndex> items = VisibleItems();
        const QModelIndex target = items[Pick(static_cast<int>(items.size()))];
        if (target == Tree()->currentIndex())
            return; // a click on the selected label would begin an edit of its own, after a delay
        Note("click " + target.data().toString().toStdString());
        const Item item = ItemOf(target);
        Click(target);
        m.Select(item);
    }

    void ArrowKey()
    {
        const QModelIndex current = Tree()->currentIndex();
        const QModelIndex group = current.parent().isValid() ? QModelIndex() : current;
        if (group.isValid() && Model()->rowCount(group) > 0 && Chance(0.3)) {
            // Right opens a closed group and Left closes an open one; neither moves the selection.
            const bool open = Tree()->isExpanded(group);
            Note(open ? "key Left" : "key Right");
            Key(open ? Qt::Key_Left : Qt::Key_Right);
            EXPECT_NE(Tree()->isExpanded(group), open);
            return;
        }
        const bool down = Chance(0.5);
        Note(down ? "key Down" : "key Up");
        const QModelIndex target = down ? Tree()->indexBelow(current) : Tree()->indexAbove(current);
        Key(down ? Qt::Key_Down : Qt::Key_Up);
        if (target.isValid())
            m.Select(ItemOf(target));
    }

    void TypeIntoField()
    {
        if (!m.enabled)
            return;
        if (Chance(0.25)) {
            // All three made valid, as a user stuck on a refused entry would.
            const QString title = RandomText(20, 1), description = RandomText(20, 1),
                          path = RandomText(10, 1);
            Note("fill all three fields");
            Retype(TitleEdit(), title);
            Retype(DescriptionEdit(), description);
            Retype(PathEdit(), path);
            m.title = title;
            m.description = description;
            m.path = path;
            m.modified = true;
            return;
        }
        const int field = Pick(3);
        QString typed;
        if (field == 0) {
            typed = Chance(0.15) ? QString() : RandomText(Chance(0.1) ? 53 : 12, 1);
            Note("type title '" + typed.toStdString() + "'");
            Retype(TitleEdit(), typed);
            typed.truncate(50);
        } else if (field == 1) {
            typed = Chance(0.15) ? QString() : RandomText(20, 1);
            Note("type description '" + typed.toStdString() + "'");
            Retype(DescriptionEdit(), typed);
        } else {
            typed = Chance(0.15) ? QString() : RandomText(10, 1);
            Note("type path '" + typed.toStdString() + "'");
            Retype(PathEdit(), typed);
        }
        QString& text = field == 0 ? m.title : field == 1 ? m.description : m.path;
        if (!text.isEmpty() || !typed.isEmpty())
            m.modified = true;
        text = typed;
    }

    void Commit()
    {
        const bool show = Chance(0.5);
        Note(show ? "commit" : "silent commit");
        const bool expected = m.Commit(show);
        EXPECT_EQ(Page().CommitPage(show), expected);
    }

    // A name for a label edit in group g: fresh, a sibling's in another case, another group's, over-long,
    // 51 characters, "Untitled", or empty. Null: end with Enter without typing.
    QString RandomName(const QString& group)
    {
        const Group& g = m.GroupOf(group);
        switch (Pick(10)) {
        case 0:
            if (!g.entries.isEmpty())
                return Flipped(g.entries[Pick(static_cast<int>(g.entries.size()))]);
            [[fallthrough]];
        case 1: {
            const Group& other = m.tree[Pick(static_cast<int>(m.tree.size()))];
            if (!other.entries.isEmpty())
                return other.entries[Pick(static_cast<int>(other.entries.size()))];
            [[fallthrough]];
        }
        case 2:
            return RandomText(57, 52);
        case 3:
            return u"Untitled"_s;
        case 4:
            return Chance(0.5) ? QString(51, u'L') : QString();
        case 5:
            return u""_s;
        default:
            return u"N"_s + QString::number(m_counter++) + RandomText(3);
        }
    }

    // Ends the running label edit on item with a random name or Escape, as far as the page accepts
    // it; an over-long name brings the edit back, with the same purpose.
    void FinishLabelEdit(Item item, vl::LabelEditMode mode)
    {
        for (;;) {
            ASSERT_TRUE(Tree()->IsEditing()) << "label edit expected on " << item;
            ASSERT_EQ(ItemOf(Tree()->EditIndex()), item);
            ASSERT_EQ(Page().m_nEditMode, mode);
            const bool escape = Chance(0.15);
            const QString typed = escape ? QString() : RandomName(item.group);
            Note(escape ? "  Escape" : "  Enter '" + typed.toStdString() + "'");
            EndLabel(typed, escape ? Qt::Key_Escape : Qt::Key_Return);
            const QString text = escape ? QString() : typed.isNull() ? item.entry : typed;
            if (Bytes(text).size() > 51) {
                m.messages.append(kLabelMessage);
                ++m.seen["label too long"];
                continue;
            }
            EndLabelEdit(item, text, mode);
            return;
        }
    }

    void EndLabelEdit(const Item& item, const QString& text, vl::LabelEditMode mode)
    {
        const std::string g = Bytes(item.group);
        if (text.isEmpty()) {
            if (item.entry == u"Untitled"_s) {
                if (mode != vl::LabelEditMode::Adding)
                    m.hidden.emplace_back(g, "Untitled");
                ++m.seen[mode == vl::LabelEditMode::Adding ? "add dropped" : "untitled item deleted"];
                m.DeleteItem(item, mode == vl::LabelEditMode::Adding);
            }
        } else if (mode == vl::LabelEditMode::Adding) {
            if (m.Find(g, Bytes(text)) >= 0) {
                m.messages.append(kDuplicateMessage);
                ++m.seen["add duplicate"];
                m.DeleteItem(item, true);
            } else {
                ++m.seen["added"];
                if (const int nameless = m.Find(g, ""); nameless >= 0)
                    m.ring[nameless].name = Bytes(text), ++m.seen["nameless section named"];
                else
                    m.ring.push_back({g, Bytes(text), "", std::nullopt, std::nullopt});
                m.modified = true;
                Group& group = m.GroupOf(item.group);
                group.entries[group.entries.lastIndexOf(item.entry)] = text;
                m.Select({true, item.group, text});
            }
        } else if (mode == vl::LabelEditMode::Renaming) {
            if (m.Find(g, Bytes(text)) >= 0) {
                m.messages.append(kDuplicateMessage);
                ++m.seen["rename duplicate"];
            } else {
                ++m.seen["renamed"];
                if (const int node = m.Find(item); node >= 0) {
                    m.ring[node].name = Bytes(text);
                    m.modified = true;
                }
                Group& group = m.GroupOf(item.group);
                group.entries[group.entries.indexOf(item.entry)] = text;
                for (Item* it : {&m.current, &m.acted}) {
                    if (*it == item)
                        it->entry = text;
                }
            }
        }
        m.prompt.clear();
    }

    // Add, Remove or Rename on the item acted on, by the Edit menu, the context menu's command or a key.
    void RunEntryCommand(int which)
    {
        const Item acted = m.acted;
        if (which == 0) {
            if (!acted.valid || acted.IsEntry()) {
                if (Chance(0.5))
                    return; // Add would do nothing; often the user picks a group first
                const QModelIndex group = Model()->index(Pick(Model()->rowCount()), 0);
                if (group != Tree()->currentIndex()) {
                    Note("click " + group.data().toString().toStdString());
                    Click(group);
                    m.Select(ItemOf(group));
                }
                return RunEntryCommand(0);
            }
            const int how = Pick(3);
            Note(std::string("add ") + (how == 0 ? "(Edit)" : how == 1 ? "(Insert)" : "(context id)"));
            how == 0   ? (void)Page().ExecuteCommand(vl::cmd::kEditAdd)
            : how == 1 ? Key(Qt::Key_Insert)
                       : (void)Page().ExecuteCommand(vl::cmd::kContextAdd);
            AfterAdd(acted);
        } else if (which == 1) {
            const bool yes = Chance(0.6);
            const bool key = Chance(0.3);
            Note(std::string("remove ") + (yes ? "Yes" : "No") + (key ? " (Delete)" : ""));
            if (acted.IsEntry())
                Answer(yes ? platform::MsgAnswer::Yes : platform::MsgAnswer::No);
            key ? Key(Qt::Key_Delete) : (void)Page().ExecuteCommand(vl::cmd::kEditRemove);
            AfterRemove(acted, yes);
        } else {
            Note("rename");
            Page().ExecuteCommand(Chance(0.5) ? vl::cmd::kEditRename : vl::cmd::kContextRename);
            AfterRename(acted);
        }
    }
    void AfterAdd(const Item& acted)
    {
        if (!acted.valid || acted.IsEntry()) {
            ASSERT_FALSE(Tree()->IsEditing());
            return;
        }
        m.GroupOf(acted.group).entries.append(u"Untitled"_s);
        m.prompt = kAddPrompt;
        FinishLabelEdit({true, acted.group, u"Untitled"_s}, vl::LabelEditMode::Adding);
    }
    void AfterRemove(const Item& acted, bool yes)
    {
        if (!acted.IsEntry())
            return;
        m.messages.append(kRemoveQuestion);
        ++m.seen[yes ? "removed" : "remove declined"];
        if (!yes)
            return;
        if (const int node = m.Find(acted); node >= 0) {
            m.ring.erase(m.ring.begin() + node);
            m.modified = true;
        }
        m.DeleteItem(acted);
    }
    void AfterRename(const Item& acted)
    {
        if (!acted.IsEntry()) {
            ASSERT_FALSE(Tree()->IsEditing());
            return;
        }
        FinishLabelEdit(acted, vl::LabelEditMode::Renaming);
    }

    // An edit the user starts in the tree on the selected entry: it renames nothing.
    void DirectEdit()
    {
        if (!m.current.IsEntry())
            return;
        Note("edit in the tree");
        ASSERT_TRUE(Tree()->StartEdit(Tree()->currentIndex()));
        FinishLabelEdit(m.current, vl::LabelEditMode::None);
    }

    void Move(bool down)
    {
        Note(down ? "move down" : "move up");
        const Item s = m.current;
        Page().ExecuteCommand(down ? vl::cmd::kMoveDown : vl::cmd::kMoveUp);
        if (!s.IsEntry())
            return;
        const QStringList& siblings = m.GroupOf(s.group).entries;
        const int row = static_cast<int>(siblings.indexOf(s.entry));
        const int other = down ? row + 1 : row - 1;
        if (other < 0 || other >= siblings.size())
            return;
        const Item x{true, s.group, siblings[other]};
        m.Commit(true);
        int anchor = m.Find(down ? x : s);
        const int moving = m.Find(down ? s : x);
        if (anchor != moving && anchor + 1 != moving) {
            const Section moved = m.ring[moving];
            m.ring.erase(m.ring.begin() + moving);
            if (moving < anchor)
                --anchor;
            m.ring.insert(m.ring.begin() + anchor + 1, moved);
            m.modified = true;
            ++m.seen["moved"];
        } else {
            ++m.seen["move without change"];
        }
        m.Rebuild();
        // The moved entry is found again in its group, whose text may now be another letter case.
        const auto group = std::find_if(m.tree.begin(), m.tree.end(), [&](const Group& g) {
            return vl::EqualsIgnoreCase(Bytes(g.text), Bytes(s.group));
        });
        const auto entry = std::find_if(group->entries.begin(), group->entries.end(), [&](const QString& e) {
            return vl::EqualsIgnoreCase(Bytes(e), Bytes(s.entry));
        });
        m.current = {};
        m.Select({true, group->text, *entry});
    }

    // A right click on an item's label (choosing one of the items the menu enables, or none), beside
    // a short label, or below the last row.
    void ContextMenu()
    {
        const std::vector<QModelIndex> items = VisibleItems();
        const QModelIndex target = items[Pick(static_cast<int>(items.size()))];
        const QRect rect = Tree()->visualRect(target);
        const int where = Pick(10);
        Item hit = ItemOf(target);
        QPoint pos = LabelPoint(target);
        bool onLabel = true;
        if (where == 0) {
            const QModelIndex last = items.back();
            pos = {LabelPoint(last).x(), Tree()->visualRect(last).bottom() + 5};
            if (pos.y() >= Tree()->viewport()->height())
                return; // no empty space below the rows
            hit = {};
            onLabel = false;
        } else if (where == 1) {
            if (target.data().toString().size() > 6)
                return;
            pos = {Tree()->viewport()->width() - 2, rect.center().y()};
            onLabel = false;
        }
        const int choice = Pick(4); // 0: dismiss; else the first, second... enabled item
        Note("right click " + (hit.valid ? target.data().toString().toStdString() : std::string("<empty>")) +
             (onLabel ? "" : " beside the label") + " choice " + std::to_string(choice));

        int chosen = 0;
        bool answered = false, yes = false;
        Page().SetPopupRunner([&](QMenu* menu, const QPoint&) -> QAction* {
            QList<QAction*> enabled;
            for (QAction* action : menu->actions()) {
                if (action->isEnabled())
                    enabled.append(action);
            }
            if (choice == 0 || enabled.isEmpty())
                return nullptr;
            QAction* action = enabled[(choice - 1) % enabled.size()];
            chosen = action->property("commandId").toInt();
            if (chosen == vl::cmd::kContextRemove) {
                yes = Chance(0.6);
                answered = true;
                Answer(yes ? platform::MsgAnswer::Yes : platform::MsgAnswer::No);
            }
            return action;
        });
        Page().ShowContextMenu(pos);

        if (!m.Commit(false) && hit != m.acted) {
            if (!m.Commit(true)) {
                EXPECT_EQ(chosen, 0) << "no menu after a refused commit";
                return;
            }
        }
        m.acted = hit;
        if (!onLabel) {
            EXPECT_EQ(chosen, 0) << "no menu beside a label";
            return;
        }
        m.Select(hit);
        m.acted = hit;
        if (chosen == vl::cmd::kContextAdd) {
            Note("  Add");
            AfterAdd(hit);
        } else if (chosen == vl::cmd::kContextRemove) {
            Note(std::string("  Remove ") + (yes ? "Yes" : "No"));
            EXPECT_TRUE(answered);
            AfterRemove(hit, yes);
        } else if (chosen == vl::cmd::kContextRename) {
            Note("  Rename");
            AfterRename(hit);
        }
    }

    // ---- checks -------------------------------------------------------------------------------

    void Check()
    {
        ASSERT_FALSE(Tree()->IsEditing());
        ASSERT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
        ASSERT_EQ(TakeMessages(), m.messages);
        m.messages.clear();
        ASSERT_EQ(SectionsOf(Ring()), m.ring);
        ASSERT_EQ(TreeShape(), m.tree);
        ASSERT_EQ(ItemOf(Tree()->currentIndex()), m.current);
        ASSERT_EQ(ItemOf(Page().m_hCurItem), m.acted);
        ASSERT_EQ(TitleEdit()->isEnabled(), m.enabled);
        ASSERT_EQ(PathEdit()->isEnabled(), m.enabled);
        ASSERT_EQ(TitleEdit()->text(), m.title);
        ASSERT_EQ(DescriptionEdit()->toPlainText(), m.description);
        ASSERT_EQ(PathEdit()->text(), m.path);
        ASSERT_EQ(m_host.prompt, m.prompt);
        ASSERT_EQ(m_doc->IsModified(), m.modified);

        // Independently of the model: every entry item finds its section, and every section the tree
        // would show has its item, unless an edit deleted that item since the last rebuild.
        for (int row = 0; row < Model()->rowCount(); ++row) {
            const QModelIndex group = Model()->index(row, 0);
            for (int child = 0; child < Model()->rowCount(group); ++child) {
                const QModelIndex entry = Model()->index(child, 0, group);
                ASSERT_NE(Node(Bytes(group.data().toString()), Bytes(entry.data().toString())), nullptr)
                    << entry.data().toString().toStdString();
            }
        }
        const Shape full = ExpectedShape(SectionsOf(Ring()));
        for (const Group& g : full) {
            for (const QString& e : g.entries) {
                const bool hidden = std::any_of(m.hidden.begin(), m.hidden.end(), [&](const auto& h) {
                    return vl::EqualsIgnoreCase(h.first, Bytes(g.text)) && h.second == Bytes(e);
                });
                const auto shown = std::find_if(m.tree.begin(), m.tree.end(), [&](const Group& t) {
                    return vl::EqualsIgnoreCase(Bytes(t.text), Bytes(g.text)) &&
                           std::any_of(t.entries.begin(), t.entries.end(), [&](const QString& shown) {
                               return vl::EqualsIgnoreCase(Bytes(shown), Bytes(e));
                           });
                });
                ASSERT_TRUE(hidden || shown != m.tree.end())
                    << g.text.toStdString() << " / " << e.toStdString();
            }
        }
    }
};

const std::string kStart =
    kGeneral + "[MISC]\nBIOSSTR=Velmora Products\n" +
    Sec("Drivers", "Velmora Products", "Driver Setup", "Drivers\r\rof all kinds", "SETUP.EXE") +
    Sec("Audio", "Drivers", "Audio", "Sound", "AUDIO.EXE") +
    Sec("Manuals", "VELMORA PRODUCTS", "Manuals", "Read me", "VIEW.EXE") +
    Sec("", "Tools", "Kept", "Nameless", "TOOL.EXE") + Sec("Video", "Drivers", "Video", "", "") +
    Sec("Untitled", "Velmora Products", "An untitled one", "d", "u.exe") +
    Sec("Games", "velmora products", "Games", "Play", "GAMES.BAT") +
    Sec("Twin", "Velmora Products", "First twin", "d", "t1") +
    Sec("tWIN", "Velmora Products", "Second twin", "d", "t2") +
    Sec("", "Drivers", "Nameless driver", "d", "nd");

TEST_F(ProdRandomWalk, treeRingAndFieldsStayInStepOverTenThousandSteps)
{
    Open(kStart);
    m.ring = SectionsOf(Ring());
    m.tree = ShapeOf(Model());
    ASSERT_EQ(m.tree, ExpectedShape(m.ring));
    m.current = m.acted = ItemOf(Tree()->currentIndex());
    ASSERT_TRUE(m.current.valid) << "the tree takes the focus and its first item";
    m.prompt = m_host.prompt;
    Check();

    QElapsedTimer clock;
    clock.start();
    int step = 0;
    for (; step < kSteps && !HasFailure(); ++step) {
        m_doc->SetModifiedFlag(false);
        m.modified = false;
        const int entries = EntryCount();
        const int roll = Pick(100);
        if (roll < 18)
            ClickSomewhere();
        else if (roll < 30)
            ArrowKey();
        else if (roll < 45)
            TypeIntoField();
        else if (roll < 50)
            Commit();
        else if (roll < 60 + (entries < 6 ? 10 : 0))
            RunEntryCommand(0);
        else if (roll < 68 + (entries > 20 ? 10 : 0))
            RunEntryCommand(1);
        else if (roll < 74)
            RunEntryCommand(2);
        else if (roll < 77)
            DirectEdit();
        else if (roll < 87)
            Move(roll % 2 == 0);
        else
            ContextMenu();
        if (!HasFailure())
            Check();
    }
    if (HasFailure()) {
        std::string trail;
        for (const std::string& s : m_trail)
            trail += "\n  " + s;
        ADD_FAILURE() << "at step " << step << " of the walk; the last steps:" << trail;
    }
    EXPECT_EQ(step, kSteps);
    std::cout << "[ walk     ] " << step << " steps in " << clock.elapsed() << " ms, " << m.ring.size()
              << " sections at the end;";
    for (const auto& [what, count] : m.seen)
        std::cout << " " << what << " " << count << ";";
    std::cout << "\n";
    // A walk that never reached these would prove little.
    for (const char* outcome : {"added", "nameless section named", "add duplicate", "add dropped", "renamed",
                                "rename duplicate", "untitled item deleted", "removed", "remove declined",
                                "moved", "move without change", "selection refused", "label too long"})
        EXPECT_GT(m.seen[outcome], 0) << outcome;
}

} // namespace
