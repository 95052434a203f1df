// A long seeded random walk over the Product page: after every step the tree, the ring and the fields
// must agree, whatever the step did.
#include "ProdTestSupport.h"

#include <map>
#include <random>

using namespace vltest::prod;

namespace
{

constexpr int kSteps = 10000;
constexpr unsigned kSeed = 20240611;
const Q kMessages{kTitleMessage, kDescriptionMessage, kPathMessage,
                  kLabelMessage, kDuplicateMessage,   kRemoveQuestion};

// The tree a freshly built page shows: no general section, no MISC, groups by first parent text (letter
// case ignored) in order of first appearance, an entry for every section with a name.
Shape ShapeOfRing(const std::vector<Section>& sections)
{
    Shape shape;
    for (const Section& s : sections) {
        if ((s.parent == "GENERAL" && s.name == "GENERAL") || s.name == "MISC")
            continue;
        const QString parent = platform::FromCp1252(s.parent);
        auto it = std::find_if(shape.begin(), shape.end(), [&](const Group& g) {
            return g.text.compare(parent, Qt::CaseInsensitive) == 0;
        });
        if (it == shape.end())
            it = shape.insert(shape.end(), Group{parent, {}});
        if (!s.name.empty())
            it->entries.append(platform::FromCp1252(s.name));
    }
    return shape;
}

// "group/entry" of every entry, letter case and order left aside.
Names Contents(const Shape& shape)
{
    Names out;
    for (const Group& g : shape) {
        for (const QString& entry : g.entries)
            out.push_back((g.text + u'/' + entry).toLower().toStdString());
    }
    std::sort(out.begin(), out.end());
    return out;
}

class ProdRandomWalk : public ProdPageTest
{
  protected:
    std::mt19937 m_rng{kSeed};
    QStringList m_trail;                    // the last steps, for the failure report
    std::map<std::string, int> m_seen;      // how often each outcome came up
    Shape m_hidden;                         // entries whose item an edit deleted since the tree was built
    QPersistentModelIndex m_first;          // the first group item: gone when the tree is rebuilt
    QPersistentModelIndex m_current;        // the current item when the fields were last filled or stored
    QStringList m_shown;                    // what they showed then
    bool m_typed = false, m_typing = false; // since then; in this step

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    QString RandomText(int minLength, int maxLength)
    {
        static const QString letters = u"abcdefghijKLMNOPQRST 0123456789"_s;
        QString out;
        for (int i = minLength + Pick(maxLength - minLength + 1); i > 0; --i)
            out += letters[Pick(static_cast<int>(letters.size()))];
        return out;
    }
    void Note(const QString& what)
    {
        m_trail.append(what);
        if (m_trail.size() > 25)
            m_trail.removeFirst();
    }
    static std::string Bytes(const QString& text) { return platform::ToCp1252(text).value(); }
    static bool IsEntry(const QModelIndex& index) { return index.isValid() && index.parent().isValid(); }

    // A name for a label edit: another entry's as it is or in capitals, over-long, "Untitled", 51
    // characters, none (Enter without typing), empty, or fresh.
    QString RandomName()
    {
        const Shape tree = TreeShape();
        const QStringList& entries = tree[Pick(static_cast<int>(tree.size()))].entries;
        const int kind = Pick(12);
        if (kind < 2 && !entries.isEmpty()) {
            const QString name = entries[Pick(static_cast<int>(entries.size()))];
            return kind == 0 ? name : name.toUpper();
        }
        const QString names[] = {RandomText(52, 57), u"Untitled"_s, QString(51, u'L'), QString(), u""_s};
        return kind >= 2 && kind < 7 ? names[kind - 2] : u"N"_s + RandomText(1, 6);
    }
    // Ends the running label edit with random names or Escape, for as long as the page restarts it.
    void FinishEdits(bool adding)
    {
        while (Tree()->IsEditing()) {
            const QModelIndex item = Tree()->EditIndex();
            const QString text = item.data().toString(), group = item.parent().data().toString();
            const bool escape = Chance(0.15);
            const QString typed = escape ? QString() : RandomName();
            Note(escape ? u"  Escape"_s : u"  Enter '"_s + typed + u"'"_s);
            EndLabel(typed, escape ? Qt::Key_Escape : Qt::Key_Return);
            // An entry called Untitled that is given no name loses its item, not its section.
            if (!adding && text == u"Untitled"_s && (escape || (!typed.isNull() && typed.isEmpty())))
                m_hidden.push_back({group, {text}}), ++m_seen["untitled item deleted"];
        }
    }
    void AnswerRemove() // when Remove has an entry to ask about
    {
        if (IsEntry(Page().m_hCurItem))
            Answer(Chance(0.6) ? platform::MsgAnswer::Yes : platform::MsgAnswer::No);
    }

    void Step()
    {
        std::vector<QModelIndex> items; // the rows shown
        for (QModelIndex i = Model()->index(0, 0); i.isValid(); i = Tree()->indexBelow(i))
            items.push_back(i);
        ASSERT_FALSE(items.empty());
        const QModelIndex target = items[Pick(static_cast<int>(items.size()))];
        const QString text = target.data().toString();
        const qsizetype entries = Contents(TreeShape()).size();
        const int roll = Pick(100), adds = entries < 6 ? 10 : 0, removes = entries > 20 ? 10 : 0;
        if (roll < 18) {
            if (target == Tree()->currentIndex())
                return; // a click on the selected label would begin an edit of its own, after a delay
            Note(u"click "_s + text);
            Click(target);
        } else if (roll < 30) {
            const Qt::Key key = std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right}[Pick(4)];
            Note(u"key %1"_s.arg(key, 0, 16));
            Key(key);
        } else if (roll < 45) {
            if (!TitleEdit()->isEnabled())
                return;
            // One field, or all three made valid as a user stuck on a refused entry would.
            const int only = Pick(4);
            for (int f = 0; f < 3; ++f) {
                if (only != 3 && only != f)
                    continue;
                const QString typed =
                    only != 3 && Chance(0.15) ? QString() : RandomText(1, f == 0 && Chance(0.1) ? 53 : 12);
                Note(u"type in field %1 '%2'"_s.arg(f).arg(typed));
                f == 0   ? Retype(TitleEdit(), typed)
                : f == 1 ? Retype(DescriptionEdit(), typed)
                         : Retype(PathEdit(), typed);
            }
            m_typed = m_typing = true;
        } else if (roll < 50) {
            const bool show = Chance(0.5);
            Note(show ? u"commit"_s : u"silent commit"_s);
            if (Page().CommitPage(show))
                m_current = QModelIndex(); // what the fields show is stored: see that it is
        } else if (roll < 62 + adds) {
            const QModelIndex group = Model()->index(Pick(Model()->rowCount()), 0);
            if (IsEntry(Page().m_hCurItem) && group != Tree()->currentIndex() && Chance(0.5)) {
                Note(u"click "_s + group.data().toString());
                Click(group); // Add needs a group to act on
            }
            const int how = Pick(3);
            Note(u"add "_s + QString::number(how));
            how == 1 ? Key(Qt::Key_Insert)
                     : (void)Page().ExecuteCommand(how ? vl::cmd::kContextAdd : vl::cmd::kEditAdd);
            FinishEdits(true);
        } else if (roll < 70 + removes) {
            const bool key = Chance(0.3);
            Note(key ? u"remove (Delete)"_s : u"remove"_s);
            AnswerRemove();
            key ? Key(Qt::Key_Delete) : (void)Page().ExecuteCommand(vl::cmd::kEditRemove);
        } else if (roll < 76) {
            Note(u"rename"_s);
            Page().ExecuteCommand(Chance(0.5) ? vl::cmd::kEditRename : vl::cmd::kContextRename);
            FinishEdits(false);
        } else if (roll < 79) {
            if (!IsEntry(Tree()->currentIndex()))
                return;
            Note(u"edit in the tree"_s);
            ASSERT_TRUE(Tree()->StartEdit(Tree()->currentIndex()));
            FinishEdits(false);
        } else if (roll < 89) {
            Note(roll % 2 ? u"move down"_s : u"move up"_s);
            Page().ExecuteCommand(roll % 2 ? vl::cmd::kMoveDown : vl::cmd::kMoveUp);
        } else {
            // A right click below the last row, beside a short label or on a label; the menu dismissed
            // or one of its enabled items chosen.
            const int where = Pick(10), choice = Pick(4);
            const QRect row = Tree()->visualRect(target);
            const int below = Tree()->visualRect(items.back()).bottom() + 5;
            const QPoint pos = where == 0   ? QPoint(row.left() + 3, below)
                               : where == 1 ? QPoint(Tree()->viewport()->width() - 2, row.center().y())
                                            : LabelPoint(target);
            if ((where == 0 && pos.y() >= Tree()->viewport()->height()) || (where == 1 && text.size() > 6))
                return;
            Note(u"right click %1 where %2 choice %3"_s.arg(text).arg(where).arg(choice));
            bool adding = false;
            Page().SetPopupRunner([&](QMenu* menu, const QPoint&) -> QAction* {
                EXPECT_GE(where, 2) << "a menu away from a label";
                QList<QAction*> enabled;
                std::ranges::copy_if(menu->actions(), std::back_inserter(enabled), &QAction::isEnabled);
                QAction* chosen =
                    choice && !enabled.isEmpty() ? enabled[(choice - 1) % enabled.size()] : nullptr;
                const int id = chosen ? chosen->property("commandId").toInt() : 0;
                adding = id == vl::cmd::kContextAdd;
                if (id == vl::cmd::kContextRemove)
                    AnswerRemove();
                return chosen;
            });
            Page().ShowContextMenu(pos);
            FinishEdits(adding);
        }
    }

    // After every step: no edit running; every entry item finds its section and every section has its
    // item (exactly as a fresh build shows them if the tree was rebuilt); the fields show the current
    // entry's section until typed into; only typing and changes of the ring mark the document modified.
    void Check(const Names& before)
    {
        ASSERT_FALSE(Tree()->IsEditing());
        ASSERT_EQ(Page().m_nEditMode, vl::LabelEditMode::None);
        for (const QString& message : TakeMessages()) {
            ASSERT_TRUE(kMessages.contains(message)) << message.toStdString();
            ++m_seen[message.simplified().toStdString()];
        }
        const std::vector<Section> ring = SectionsOf(Ring());
        const Shape tree = TreeShape();
        for (const Group& g : tree) {
            for (const QString& e : g.entries)
                ASSERT_NE(Node(Bytes(g.text), Bytes(e)), nullptr) << (g.text + u'/' + e).toStdString();
        }
        if (!m_first.isValid()) {
            ++m_seen["tree rebuilt"];
            ASSERT_EQ(tree, ShapeOfRing(ring));
            m_hidden.clear();
            m_first = Model()->index(0, 0);
        }
        Shape shown = tree;
        shown.insert(shown.end(), m_hidden.begin(), m_hidden.end());
        ASSERT_EQ(Contents(shown), Contents(ShapeOfRing(ring)));

        const QModelIndex current = Tree()->currentIndex();
        ASSERT_EQ(TitleEdit()->isEnabled(), IsEntry(current));
        if (m_current != current && IsEntry(current)) {
            const vl::SectionNode* node =
                Node(Bytes(current.parent().data().toString()), Bytes(current.data().toString()));
            m_shown = {platform::FromCp1252(node->title),
                       platform::FromCp1252(node->description.value_or("")).replace(u"\r\n"_s, u"\n"_s),
                       platform::FromCp1252(node->path.value_or(""))};
            m_typed = false;
        }
        m_current = current;
        if (IsEntry(current) && !m_typed) {
            ASSERT_EQ(Fields(), m_shown);
        }

        const Names now = NamesOf(Ring());
        if (!m_typing) {
            ASSERT_EQ(m_doc->IsModified(), before != now);
        }
        const auto nameless = [](const Names& names) {
            return std::ranges::count_if(names, [](const std::string& n) { return n.ends_with('/'); });
        };
        if (now.size() != before.size())
            ++m_seen[now.size() > before.size() ? "added" : "removed"];
        else if (nameless(now) < nameless(before))
            ++m_seen["nameless section named"];
        else if (before != now)
            ++m_seen[std::is_permutation(before.begin(), before.end(), now.begin()) ? "moved" : "renamed"];
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
    ASSERT_EQ(TreeShape(), ShapeOfRing(SectionsOf(Ring())));
    m_first = Model()->index(0, 0);
    int step = 0;
    for (; step < kSteps && !HasFailure(); ++step) {
        const Names before = NamesOf(Ring());
        m_doc->SetModifiedFlag(false);
        m_typing = false;
        Step();
        if (!HasFailure())
            Check(before);
    }
    if (HasFailure())
        ADD_FAILURE() << "at step " << step << " of the walk; the last steps:\n  "
                      << m_trail.join(u"\n  "_s).toStdString();
    EXPECT_EQ(step, kSteps);
    for (const auto& [what, count] : m_seen)
        std::cout << "[ walk     ] " << what << ": " << count << "\n";
    // A walk that never reached these would prove little.
    for (const QString& message : kMessages)
        EXPECT_GT(m_seen[message.simplified().toStdString()], 0) << message.toStdString();
    for (const char* outcome : {"added", "removed", "renamed", "moved", "nameless section named",
                                "tree rebuilt", "untitled item deleted"})
        EXPECT_GT(m_seen[outcome], 0) << outcome;
}

} // namespace
