// The Product page's entries through the window: twins that share a name, names the file cannot
// carry, and the right click.
#include "PageDriver.h"

#include "model/Rules.h"

namespace vltest
{
namespace
{

using Product = PageDriver;

// Entries sharing a name, in another letter case (B) and in the same (C): each is its own section.
TEST_F(Product, eachTwinEditsRemovesRenamesAndMovesItsOwnSection)
{
    enum Action { Edit, Remove, Rename, Up, Down };
    for (int row : {1, 2}) {
        for (Action action : {Edit, Remove, Rename, Up, Down}) {
            QList<QByteArray> entries{Section("Tools", kHeading, "t1", "p1", "d1"),
                                      Section("TOOLS", kHeading, "t2", "p2", "d2"),
                                      Section("Tools", kHeading, "t3", "p3", "d3"),
                                      Section("Games", kHeading, "t4", "p4", "d4")};
            OpenFile(kGeneralAndMisc + entries.join());
            ToProduct();
            for (int r = 0; r < 4; ++r) {
                ClickItem(Entry(0, r));
                EXPECT_EQ(ProdTitle(), QStringLiteral("t%1").arg(r + 1));
            }
            ClickItem(Entry(0, row));
            switch (action) {
            case Edit:
                Click(Prod("titleEdit"));
                Key(Qt::Key_A, Qt::ControlModifier);
                Type(QStringLiteral("New"));
                entries[row].replace("TITLE=t" + QByteArray::number(row + 1), "TITLE=New");
                break;
            case Remove:
                Answer(platform::MsgAnswer::Yes);
                Key(Qt::Key_Delete);
                entries.removeAt(row);
                break;
            case Rename:
                Key(Qt::Key_F2);
                EndLabel(QStringLiteral("Other"));
                entries[row].replace(entries[row].left(entries[row].indexOf(']') + 1), "[Other]");
                break;
            case Up:
            case Down:
                Command(action == Up ? vl::cmd::kMoveUp : vl::cmd::kMoveDown);
                entries.swapItemsAt(row, action == Up ? row - 1 : row + 1);
                EXPECT_EQ(ProdTitle(), QStringLiteral("t%1").arg(row + 1)) << "the moved entry stays selected";
                break;
            }
            EXPECT_EQ(SaveAndRead(), kGeneralAndMisc + entries.join()) << "row " << row << " action " << action;
            EXPECT_EQ(TakeMessages().last(), kSavedInfo);
            const QByteArray batch = ReadFile(m_path.chopped(3) + QLatin1String("bat"));
            EXPECT_TRUE(batch.contains(":PROD" + QByteArray::number(entries.size())) &&
                        !batch.contains(":PROD" + QByteArray::number(entries.size() + 1)));
        }
    }
}

// Add and Rename refuse, where the name is typed, the names the file cannot carry as an entry's;
// the edit starts again for the same purpose and a good name then goes through to the saved file.
TEST_F(Product, namesTheFileCannotCarryAreRefusedAndTheEditStartsAgain)
{
    OpenFile(kValidConfig);
    ToProduct();
    const QString bad[] = {QStringLiteral("MISC"), QStringLiteral("Tools [v2]"), QStringLiteral("a]b"),
                           QString(52, u'n')};
    int fresh = 0;
    for (const bool adding : {true, false}) {
        for (const QString& name : bad) {
            if (adding) {
                ClickItem(Model()->index(0, 0));
                Key(Qt::Key_Insert);
            } else {
                ClickItem(Entry(0, 0));
                Key(Qt::Key_F2);
            }
            EndLabel(name);
            EXPECT_EQ(TakeMessages(), QStringList{QString::fromStdString(vl::rules::EntryNameProblem(name.toStdString()))});
            ASSERT_NE(LabelEditor(), nullptr) << name.toStdString();
            const QString good = QStringLiteral("misc%1").arg(++fresh);
            EndLabel(good);
            EXPECT_TRUE(TakeMessages().isEmpty());
            EXPECT_EQ(Entry(0, adding ? Model()->rowCount(Model()->index(0, 0)) - 1 : 0).data().toString(), good);
            if (adding) { // the new entry needs its fields before the selection can move on
                for (const char* field : {"titleEdit", "descriptionEdit", "pathEdit"}) {
                    Click(Prod(field));
                    Type(QStringLiteral("x"));
                }
            }
        }
    }
    const QByteArray saved = SaveAndRead();
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_EQ(saved.count("[MISC]"), 1);
    // The four added entries stay; the renamed one keeps only its last name.
    for (int i = 1; i <= fresh; ++i)
        EXPECT_EQ(saved.count("[misc" + QByteArray::number(i) + "]"), i <= 4 || i == fresh ? 1 : 0) << i;
}

// A right click commits once, refuses at most once, and selects only when it is on an entry's label.
TEST_F(Product, aRightClickCommitsOnceAndSelectsOnlyOnALabel)
{
    struct Row {
        bool invalid;
        int target; // row under the product heading: 0 Tools (selected), 1 Games
        bool onLabel;
        int messages;
        bool menu;
        int selected;
    } const rows[] = {{false, 1, true, 0, true, 1},   {false, 1, false, 0, false, 0},
                      {false, 0, true, 0, true, 0},   {true, 1, true, 1, false, 0},
                      {true, 1, false, 1, false, 0},  {true, 0, true, 0, true, 0}};
    for (const Row& r : rows) {
        OpenFile(kValidConfig);
        ToProduct();
        ClickItem(Entry(0, 0));
        if (r.invalid) {
            Click(Prod("titleEdit"));
            Key(Qt::Key_A, Qt::ControlModifier);
            Key(Qt::Key_Backspace);
        }
        int menus = 0;
        ProdPage()->SetPopupRunner([&](QMenu*, const QPoint&) -> QAction* {
            ++menus;
            return nullptr;
        });
        ClickItem(Entry(0, r.target), Qt::RightButton, r.onLabel);
        const int row = &r - rows;
        EXPECT_EQ(TakeMessages().size(), r.messages) << row;
        EXPECT_EQ(menus, r.menu ? 1 : 0) << row;
        EXPECT_EQ(Tree()->currentIndex(), Entry(0, r.selected)) << row;
        if (!r.invalid)
            EXPECT_EQ(ProdTitle(), Entry(0, r.selected).data().toString()) << row;
    }
}

} // namespace
} // namespace vltest
