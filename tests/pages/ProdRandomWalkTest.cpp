// A long seeded random walk over the Product page through the window, from a file with twins: after
// every step the tree and the ring agree, and every save writes the bytes of what the document holds.
#include "PageDriver.h"

#include "model/ConfigFile.h"
#include "model/Rules.h"
#include "platform/CodePage.h"

#include <QMenu>
#include <random>

namespace vltest
{
namespace
{

using namespace Qt::StringLiterals;

class ProdRandomWalk : public PageDriver
{
  protected:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    // Another item's name, also in capitals; names the file cannot carry, or fresh in Windows-1252.
    QString Name()
    {
        const QModelIndex any = RandomItem();
        const QString other = any.isValid() ? any.data().toString() : QString();
        const QString names[] = {other,           other.toUpper(),   u"MISC"_s,
                                 u"Tools [v2]"_s, QString(51, u'n'), QString(52, u'n'),
                                 u"Untitled"_s,   QString()};
        const int i = Pick(12);
        return i < 8 ? names[i] : QStringLiteral("Caf\u00e9 \u20ac%1").arg(Pick(1000));
    }
    QModelIndex RandomItem() // a group or an entry; none in an empty tree
    {
        QList<QModelIndex> items;
        for (int g = 0; g < Model()->rowCount(); ++g) {
            const QModelIndex group = Model()->index(g, 0);
            items.append(group);
            for (int r = 0; r < Model()->rowCount(group); ++r)
                items.append(Model()->index(r, 0, group));
        }
        return items.isEmpty() ? QModelIndex() : items[Pick(static_cast<int>(items.size()))];
    }
    // Ends the running label edits with random names or Escape, for as long as the page restarts them.
    void EndLabels()
    {
        for (int guard = 0; LabelEditor() && guard < 20; ++guard)
            Pick(5) == 0 || guard > 10 ? Key(Qt::Key_Escape) : EndLabel(Name());
        ASSERT_EQ(LabelEditor(), nullptr);
    }
    void Step()
    {
        const QModelIndex item = RandomItem();
        if (!item.isValid())
            return;
        switch (Pick(8)) {
        case 0: { // a left click, refused while a field of the selected entry is empty
            const QModelIndex before = Tree()->currentIndex();
            const bool refused = before.parent().isValid() &&
                                 (ProdTitle().isEmpty() || Prod<QLineEdit>("pathEdit")->text().isEmpty() ||
                                  Prod<QPlainTextEdit>("descriptionEdit")->toPlainText().isEmpty());
            ClickItem(item);
            EXPECT_TRUE(!refused || item == before || // stays, with the refusal's message
                        (Tree()->currentIndex() == before && TakeMessages().size() == 1));
            break;
        }
        case 1: // the context menu, choosing one of its items or none
            ProdPage()->SetPopupRunner([&](QMenu* menu, const QPoint&) {
                QAction* chosen = menu->actions().value(Pick(4));
                EXPECT_NE(menu->actions()[0]->isEnabled(), menu->actions()[1]->isEnabled()); // Add or Remove
                Answer(Pick(3) ? platform::MsgAnswer::No : platform::MsgAnswer::Yes); // should Remove ask
                return chosen && chosen->isEnabled() ? chosen : nullptr;
            });
            ClickItem(item, Qt::RightButton, Pick(4) != 0);
            break;
        case 2:
        case 3: { // Insert, Delete or F2 (Rename) in the tree
            const Qt::Key keys[] = {Qt::Key_Insert, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_F2};
            ClickItem(item);
            Answer(Pick(3) ? platform::MsgAnswer::No : platform::MsgAnswer::Yes);
            Key(keys[Pick(4)]);
            break;
        }
        case 4:
            Frame()->Action(Pick(2) ? vl::cmd::kMoveUp : vl::cmd::kMoveDown)->trigger();
            break;
        case 5:
        case 6: { // typing Windows-1252 letters into the three fields, or emptying some of them
            const bool empty = Pick(5) == 0;
            for (const char* name : {"titleEdit", "descriptionEdit", "pathEdit"}) {
                if (!Prod(name)->isEnabled() || (empty && Pick(2)))
                    continue;
                Click(Prod(name));
                Paste(empty ? QString() : QStringLiteral("\u00c0 \u0153%1").arg(Pick(100)));
                EXPECT_TRUE(Doc()->IsModified() || empty) << "typing marks the document";
            }
            break;
        }
        default:
            Save();
        }
        EndLabels();
        while (m_messages.QueuedAnswers() > 0) // answers to questions the step did not come to
            m_messages.Show(QString(), platform::MsgButtons::YesNo, platform::MsgIcon{});
        m_messages.TakeTexts();
    }
    // A save stops at a refused field (or the want of products), or writes what the document holds.
    void Save()
    {
        const QByteArray saved = SaveAndRead();
        const QStringList shown = TakeMessages();
        if (shown != QStringList{kSavedInfo}) {
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown[0].startsWith(QLatin1String("Please enter the")) ||
                        !vl::HasProductEntries(Doc()->m_pRing))
                << shown[0].toStdString();
            return;
        }
        ++m_saves;
        EXPECT_FALSE(Doc()->IsModified());
        std::string mine;
        ASSERT_TRUE(vl::ComposeConfigText(Doc()->m_pRing, mine));
        EXPECT_EQ(saved.toStdString(), mine);
    }
    // Every entry of the tree stands for a section of its group, under a name the file can carry.
    void Check()
    {
        const bool entry = Tree()->currentIndex().parent().isValid(); // the Edit menu follows it
        EXPECT_TRUE(Frame()->Action(vl::cmd::kEditAdd)->isEnabled() != entry &&
                    Frame()->Action(vl::cmd::kEditRename)->isEnabled() == entry);
        for (int g = 0; g < Model()->rowCount(); ++g) {
            const QModelIndex group = Model()->index(g, 0);
            for (int r = 0; r < Model()->rowCount(group); ++r) {
                const auto name = platform::ToCp1252(Model()->index(r, 0, group).data().toString());
                EXPECT_TRUE(
                    vl::FindSection(Doc()->m_pRing, *platform::ToCp1252(group.data().toString()), *name) &&
                    vl::rules::EntryNameProblem(*name).empty());
            }
        }
    }

    std::mt19937 m_rng{20261207};
    int m_saves = 0;
};

TEST_F(ProdRandomWalk, treeRingAndSavedFileStayInStep)
{
    OpenFile(kGeneralAndMisc + Section("Tools", kHeading) + Section("TOOLS", kHeading) +
             Section("Tools", kHeading) + Section("Caf\xe9", "velmora products") + Section("Disk", "Tools") +
             Section("", "Other"));
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
