// A long seeded random walk over the Product page through the window, from a file with twins: after
// every step the tree and the ring agree, and every save writes what the document holds, read back
// to the same bytes.
#include "PageDriver.h"

#include "model/CaseFold.h"
#include "model/ConfigFile.h"
#include "model/Rules.h"
#include "platform/CodePage.h"

#include <QMenu>
#include <random>
#include <set>

namespace vltest
{
namespace
{

using Key2 = std::pair<std::string, std::string>; // folded group text, entry name

std::string Folded(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(vl::FoldCase1252(static_cast<unsigned char>(c)));
    return text;
}

class ProdRandomWalk : public PageDriver
{
  protected:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    std::string Bytes(const QString& text) { return platform::ToCp1252(text).value_or("?"); }

    // Another entry's name as it is or in capitals, a name the file cannot carry, 51 or 52 characters,
    // "Untitled", nothing, or a fresh name in Windows-1252.
    QString Name()
    {
        const QModelIndex any = RandomItem(true);
        switch (Pick(12)) {
        case 0:
            return any.isValid() ? any.data().toString() : QString();
        case 1:
            return any.isValid() ? any.data().toString().toUpper() : QStringLiteral("MISC");
        case 2:
            return QStringLiteral("MISC");
        case 3:
            return QStringLiteral("Tools [v%1]").arg(Pick(3));
        case 4:
            return QString(51 + Pick(2), u'n');
        case 5:
            return QStringLiteral("Untitled");
        case 6:
            return QString();
        default:
            return QStringLiteral("Caf\u00e9 \u20ac%1").arg(++m_fresh);
        }
    }
    // A random item; entries only when asked; invalid when there is none.
    QModelIndex RandomItem(bool entry)
    {
        QList<QModelIndex> items;
        for (int g = 0; g < Model()->rowCount(); ++g) {
            const QModelIndex group = Model()->index(g, 0);
            if (!entry)
                items.append(group);
            for (int r = 0; r < Model()->rowCount(group); ++r)
                items.append(Model()->index(r, 0, group));
        }
        return items.isEmpty() ? QModelIndex() : items[Pick(static_cast<int>(items.size()))];
    }
    // Ends the running label edits with random names or Escape, for as long as the page restarts them.
    void EndLabels()
    {
        for (int guard = 0; LabelEditor() && guard < 20; ++guard) {
            if (Pick(5) == 0 || guard > 10)
                Key(Qt::Key_Escape);
            else
                EndLabel(Name());
        }
        ASSERT_EQ(LabelEditor(), nullptr);
    }
    void Step()
    {
        const QModelIndex item = RandomItem(Pick(3) != 0);
        switch (Pick(9)) {
        case 0:
            if (item.isValid())
                ClickItem(item);
            break;
        case 1: { // the context menu, choosing one of its enabled items or none
            if (!item.isValid())
                break;
            ProdPage()->SetPopupRunner([&](QMenu* menu, const QPoint&) -> QAction* {
                QList<QAction*> enabled;
                for (QAction* action : menu->actions())
                    enabled.append(action->isEnabled() ? action : nullptr);
                QAction* chosen = enabled[Pick(static_cast<int>(enabled.size()))];
                if (chosen && chosen->property("commandId").toInt() == vl::cmd::kContextRemove)
                    Answer(Pick(3) ? platform::MsgAnswer::No : platform::MsgAnswer::Yes);
                return chosen;
            });
            ClickItem(item, Qt::RightButton, Pick(4) != 0);
            break;
        }
        case 2:
        case 3: // Insert or Delete in the tree, on the item clicked last
            if (!item.isValid())
                break;
            ClickItem(item);
            if (ProdPage()->m_hCurItem.parent().isValid())
                Answer(Pick(3) ? platform::MsgAnswer::No : platform::MsgAnswer::Yes);
            Key(Pick(3) ? Qt::Key_Insert : Qt::Key_Delete);
            break;
        case 4:
            Key(Qt::Key_F2);
            break;
        case 5:
            Command(Pick(2) ? vl::cmd::kMoveUp : vl::cmd::kMoveDown);
            break;
        case 6:
        case 7: { // typing Windows-1252 letters into the three fields, or emptying some of them
            const bool empty = Pick(5) == 0;
            for (const char* name : {"titleEdit", "descriptionEdit", "pathEdit"}) {
                if (!Prod(name)->isEnabled() || (empty && Pick(2)))
                    continue;
                Click(Prod(name));
                Key(Qt::Key_A, Qt::ControlModifier);
                Key(Qt::Key_Backspace);
                if (!empty)
                    Type(QStringLiteral("\u00c0 \u0153%1").arg(Pick(100)));
                EXPECT_TRUE(Doc()->IsModified() || empty) << "typing marks the document";
            }
            break;
        }
        default:
            Save();
        }
        EndLabels();
        // Questions the step did not come to are dropped with the messages.
        while (m_messages.QueuedAnswers() > 0)
            m_messages.Show(QString(), platform::MsgButtons::YesNo, platform::MsgIcon{});
        m_messages.TakeTexts();
    }
    // A save either stops at a refused field (or at the want of products) or writes the document's ring, which reads back the same.
    void Save()
    {
        m_messages.TakeTexts();
        const QByteArray saved = SaveAndRead();
        const QStringList shown = TakeMessages();
        if (shown != QStringList{kSavedInfo}) {
            ASSERT_EQ(shown.size(), 1);
            const bool empty = !vl::HasProductEntries(Doc()->m_pRing);
            EXPECT_TRUE(shown[0].startsWith(QLatin1String("Please enter the")) ||
                        (empty && shown[0].startsWith(QLatin1String("There are no"))))
                << shown[0].toStdString();
            return;
        }
        ++m_saves;
        EXPECT_FALSE(Doc()->IsModified());
        std::string mine, again;
        ASSERT_TRUE(vl::ComposeConfigText(Doc()->m_pRing, mine));
        EXPECT_EQ(saved.toStdString(), mine);
        const vl::ReadResult read = vl::ParseConfigText(saved.toStdString());
        ASSERT_NE(read.ring, nullptr);
        ASSERT_TRUE(vl::ComposeConfigText(read.ring, again));
        vl::FreeSectionRing(read.ring);
        EXPECT_EQ(again, mine);
    }
    // Every entry of the tree stands for a section of its group; no section is shown twice.
    void Check()
    {
        std::multiset<Key2> ring;
        const vl::SectionNode* sentinel = vl::FindSentinel(Doc()->m_pRing);
        for (const vl::SectionNode* n = sentinel->next; n != sentinel; n = n->next) {
            if (n->name == vl::kMiscSection || (n->parent == "GENERAL" && n->name == "GENERAL") || n->name.empty())
                continue;
            ring.insert({Folded(n->parent), n->name});
            EXPECT_TRUE(vl::rules::EntryNameProblem(n->name).empty()) << n->name;
        }
        for (int g = 0; g < Model()->rowCount(); ++g) {
            const QModelIndex group = Model()->index(g, 0);
            for (int r = 0; r < Model()->rowCount(group); ++r) {
                const auto it = ring.find({Folded(Bytes(group.data().toString())),
                                           Bytes(Model()->index(r, 0, group).data().toString())});
                ASSERT_NE(it, ring.end()) << Model()->index(r, 0, group).data().toString().toStdString();
                ring.erase(it);
            }
        }
    }

    std::mt19937 m_rng{20261207};
    int m_fresh = 0;
    int m_saves = 0;
};

TEST_F(ProdRandomWalk, treeRingAndSavedFileStayInStep)
{
    OpenFile(kGeneralAndMisc +
             Section("Tools", kHeading) + Section("TOOLS", kHeading) + Section("Tools", kHeading) +
             Section("Caf\xe9", "velmora products") + Section("Disk", "Tools") + Section("", "Other"));
    ToProduct();
    for (int step = 0; step < 1000 && !HasFatalFailure(); ++step) {
        Step();
        Check();
        if (HasFailure())
            FAIL() << "after step " << step;
    }
    EXPECT_GT(m_saves, 20);
}

} // namespace
} // namespace vltest
