// A seeded random walk over the Product page through the window, from a file with twins, against a
// list of sections the walk keeps itself: after every step the ring holds that list, the tree shows
// it group by group, a change of it marks the document, and every save writes it. Names the file
// cannot carry are refused, with their reason, where they are typed.
#include "PageDriver.h"

#include <QMenu>
#include <random>

namespace vltest
{
namespace
{

using namespace Qt::StringLiterals;
using Node = std::pair<QString, QString>; // a section's parent and name

class ProdRandomWalk : public PageDriver
{
  protected:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    static bool Same(const QString& a, const QString& b) { return a.toLower() == b.toLower(); }
    // A name the walk has seen, in capitals too; names the file cannot carry; none; a fresh one.
    QString Name()
    {
        const QString seen =
            m_nodes.isEmpty() ? u"Tools"_s : m_nodes[Pick(static_cast<int>(m_nodes.size()))].second;
        const QString names[] = {
            seen,          seen.toUpper(), u"MISC"_s, u"Tools [v2]"_s, QString(51, u'n'), QString(52, u'n'),
            u"Untitled"_s, QString()};
        const int i = Pick(11);
        return i < 8 ? names[i] : u"Caf\u00e9 %1"_s.arg(Pick(1000));
    }
    // Why a label cannot be a name in the file; empty when it can.
    static QString Refusal(const QString& name)
    {
        if (name.size() > 51)
            return u"Please enter the product label less than 50 characters"_s;
        if (name == u"MISC")
            return u"The name \"MISC\" is kept for the launcher's own settings.\nTry with different name"_s;
        return name.contains(u']')
                   ? u"A product name cannot hold \"]\" or a line break.\nTry with different name"_s
                   : QString();
    }
    // The named sections of the group, in ring order.
    QList<int> Listed(const QString& group) const
    {
        QList<int> entries;
        for (int i = 0; i < m_nodes.size(); ++i)
            if (Same(m_nodes[i].first, group) && !m_nodes[i].second.isEmpty())
                entries.append(i);
        return entries;
    }
    int Find(const QString& group, const QString& name) const // the group's first section so named
    {
        for (int i = 0; i < m_nodes.size(); ++i)
            if (Same(m_nodes[i].first, group) && Same(m_nodes[i].second, name))
                return i;
        return -1;
    }
    int Current() const // the list's section behind the tree's current entry; -1 for none
    {
        const QModelIndex at = Tree()->currentIndex();
        return at.parent().isValid() ? Listed(at.parent().data().toString()).value(at.row(), -1) : -1;
    }
    // Ends the label edit, for the section at index or (none) an Add in group, as a person may.
    void EndLabels(const QString& group, int index)
    {
        for (int guard = 0; LabelEditor() && guard < 20; ++guard) {
            QString name = Pick(5) == 0 || guard > 10 ? QString() : Name();
            if (index >= 0 && m_nodes[index].second == u"Untitled" && name.isEmpty())
                name = u"U%1"_s.arg(Pick(1000)); // an empty name would take its item out of the tree
            name.isEmpty() && Pick(2) ? Key(Qt::Key_Escape) : EndLabel(name);
            const QString refusal = Refusal(name);
            const int twin = name.isEmpty() || !refusal.isEmpty() ? -1 : Find(group, name);
            EXPECT_EQ(TakeMessages(), !refusal.isEmpty() ? QStringList{refusal}
                                      : twin >= 0        ? QStringList{kTwin}
                                                         : QStringList());
            if (!refusal.isEmpty())
                continue; // the edit starts again, for the same purpose
            if (name.isEmpty() || twin >= 0)
                break;
            const int named = index >= 0 ? index : Find(group, QString());
            named >= 0 ? void(m_nodes[named].second = name) : m_nodes.append({group, name});
            for (const char* field : {"titleEdit", "descriptionEdit", "pathEdit"}) {
                if (index < 0) { // a new entry's fields, which the page does not leave empty
                    Click(Prod(field));
                    Paste(u"x"_s);
                }
            }
        }
        ASSERT_EQ(LabelEditor(), nullptr);
    }
    void Step()
    {
        QList<QModelIndex> items;
        for (int g = 0; g < Model()->rowCount(); ++g) {
            items.append(Model()->index(g, 0));
            for (int r = 0; r < Model()->rowCount(Model()->index(g, 0)); ++r)
                items.append(Entry(g, r));
        }
        const QModelIndex item = items[Pick(static_cast<int>(items.size()))];
        if (item != Tree()->currentIndex()) // a click on the selected label would start an edit of its own
            ClickItem(item, Pick(4) ? Qt::LeftButton : Qt::RightButton); // the right one shows the menu
        ASSERT_EQ(Tree()->currentIndex(), item);
        const int node = Current(), step = Pick(6);
        const QString group = (node < 0 ? item : item.parent()).data().toString();
        if (step == 0 && node < 0) {
            Key(Qt::Key_Insert);
            EndLabels(group, -1);
        } else if (step == 0) {
            const bool yes = Pick(4) == 0;
            Answer(yes ? platform::MsgAnswer::Yes : platform::MsgAnswer::No);
            Key(Qt::Key_Delete);
            EXPECT_EQ(TakeMessages(), QStringList{kRemove});
            if (yes)
                m_nodes.removeAt(node);
        } else if (step == 1 && node >= 0) {
            Key(Qt::Key_F2);
            EndLabels(group, node);
        } else if (step <= 3 && node >= 0) { // Move Up or Down, past the entry beside it in its group
            const QList<int> entries = Listed(group);
            const int other = entries.value(item.row() + (step == 2 ? -1 : 1), -1);
            Frame()->Action(step == 2 ? vl::cmd::kMoveUp : vl::cmd::kMoveDown)->trigger();
            if (other >= 0) { // down: the entry goes after the next; up: the previous after the entry
                const int moving = step == 2 ? other : node, anchor = step == 2 ? node : other;
                m_nodes.insert(anchor + (anchor > moving ? 0 : 1), m_nodes.takeAt(moving));
            }
        } else if (step >= 4) {
            Save();
        }
    }
    void Save()
    {
        const QByteArray saved = SaveAndRead();
        const bool products = std::any_of(m_nodes.begin(), m_nodes.end(),
                                          [](const Node& n) { return Same(n.first, u"Velmora Products"_s); });
        EXPECT_EQ(TakeMessages().size(), 1) << "the notice, or the want of products";
        if (!products)
            return;
        QList<Node> written; // the sections' names and parents, as the file has them
        for (const QByteArray& section : saved.split('[')) {
            const qsizetype end = section.indexOf("]\r\nPARENT=");
            if (end >= 0 && !section.startsWith("GENERAL]"))
                written.append({QString::fromLatin1(section.mid(end + 10).split('\r')[0]),
                                QString::fromLatin1(section.left(end))});
        }
        EXPECT_EQ(written, m_nodes);
        EXPECT_FALSE(Doc()->IsModified());
        ++m_saves;
    }
    // The ring holds the list, the tree shows its groups, and a change of it marks the document.
    void Check(const QList<Node>& before)
    {
        QList<Node> ring;
        const vl::SectionNode* sentinel = vl::FindSentinel(Doc()->m_pRing);
        for (const vl::SectionNode* n = sentinel->next; n != sentinel; n = n->next)
            if (n->name != "GENERAL" && n->name != "MISC")
                ring.append({QString::fromLatin1(n->parent), QString::fromLatin1(n->name)});
        EXPECT_EQ(ring, m_nodes);
        EXPECT_TRUE(m_nodes == before || Doc()->IsModified()) << "a change of the ring marks the document";
        // A group whose last entry went stays in the tree, empty, until the tree is built again.
        QStringList groups;
        for (int g = 0; g < Model()->rowCount(); ++g) {
            QStringList shown, listed;
            for (int r = 0; r < Model()->rowCount(Model()->index(g, 0)); ++r)
                shown.append(Entry(g, r).data().toString());
            groups.append(Model()->index(g, 0).data().toString().toLower());
            for (int i : Listed(groups.last()))
                listed.append(m_nodes[i].second);
            EXPECT_EQ(shown, listed) << "group " << g;
        }
        for (const auto& [parent, name] : m_nodes)
            EXPECT_TRUE(groups.contains(parent.toLower())) << parent.toStdString();
        EXPECT_EQ(TakeMessages(), QStringList());
    }

    const QString kTwin = u"This product name already exists !!\nTry with different name"_s;
    const QString kRemove = u"Would you like to remove the item ?"_s;
    std::mt19937 m_rng{20261207};
    QList<Node> m_nodes{{u"Velmora Products"_s, u"Tools"_s},
                        {u"Velmora Products"_s, u"TOOLS"_s},
                        {u"Velmora Products"_s, u"Tools"_s},
                        {u"velmora products"_s, u"Caf\u00e9"_s},
                        {u"Tools"_s, u"Disk"_s},
                        {u"Other"_s, QString()}};
    int m_saves = 0;
};

TEST_F(ProdRandomWalk, theRingTheTreeAndTheSavedFileFollowTheWalksOwnList)
{
    QByteArray file = kGeneralAndMisc;
    for (const auto& [parent, name] : m_nodes)
        file += Section(name.toLatin1(), parent.toLatin1());
    OpenFile(file);
    ToProduct();
    ProdPage()->SetPopupRunner([this](QMenu* menu, const QPoint&) -> QAction* { // Add for a group only
        const bool entry = Tree()->currentIndex().parent().isValid();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(menu->actions()[i]->isEnabled(), (i > 0) == entry)
                << menu->actions()[i]->text().toStdString();
        return nullptr;
    });
    for (int step = 0; step < 300 && !HasFatalFailure(); ++step) {
        const QList<Node> before = m_nodes;
        Step();
        Check(before);
        if (HasFailure())
            FAIL() << "after step " << step;
    }
    EXPECT_GT(m_saves, 10);
}

} // namespace
} // namespace vltest
