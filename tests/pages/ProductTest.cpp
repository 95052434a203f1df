// The Product page's entries through the window: bytes kept through a visit, twins that share a
// name, names the file cannot carry, and the right click.
#include "PageDriver.h"

#include "model/Rules.h"

namespace vltest
{
namespace
{

using Product = PageDriver;

// With every byte the file can hold (1 to 255 but LF; "\r\r" is a line break) in its texts, showing
// every entry and both pages and saving gives the file back: a lone CR stays a CR, a no-break space
// 0xA0, and a 240-byte description holding a lone CR may be left; so does an edit elsewhere.
TEST_F(Product, aVisitWithoutEditsSavesEveryByteAsItWas)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all += b == '\n' ? "" : QByteArray(1, static_cast<char>(b));
    QByteArray file =
        Section("GENERAL", "GENERAL", all.left(18), all, all.right(120) + "\r\r" + all.left(117)) +
        "[MISC]\r\nBIOSSTR=" + all.mid(30, 40) + "\r\n\r\n";
    for (int i = 0; i * 60 < all.size(); ++i)
        file += Section("E" + QByteArray::number(i), kHeading, all.mid(i * 60, 63), all.mid(i * 50),
                        i ? all.mid(i * 50, 118) + "\r\r" + all.mid(i * 60, 60)
                          : QByteArray(119, 'a') + "\r" + QByteArray(120, 'b'));
    OpenFile(file);
    ToProduct();
    const int rows = Model()->rowCount(Model()->index(0, 0));
    for (int row = 0; row < rows; ++row)
        ClickItem(Entry(0, row));
    EXPECT_EQ(Tree()->currentIndex(), Entry(0, rows - 1));
    Click(Prod("backButton"));
    Click(Gen("descriptionEdit")); // an edit at its end keeps the lone CR and 0xA0 before it
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Backspace);
    file.replace("\r\r" + all.left(117) + "\r\n", "\r\r" + all.left(116) + "\r\n");
    EXPECT_EQ(SaveAndRead(), file);
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
}

// Entries sharing a name in another letter case (row 1) and in the same (row 2) each show, edit,
// remove, rename and move their own section; the batch file numbers every one.
TEST_F(Product, eachTwinActsOnItsOwnSection)
{
    enum Action { Edit, Remove, Rename, Up, Down };
    for (int row : {1, 2}) {
        for (Action action : {Edit, Remove, Rename, Up, Down}) {
            QList<QByteArray> entries{
                Section("Tools", kHeading, "t1", "p1", "d1"), Section("TOOLS", kHeading, "t2", "p2", "d2"),
                Section("Tools", kHeading, "t3", "p3", "d3"), Section("Games", kHeading, "t4", "p4", "d4")};
            OpenFile(kGeneralAndMisc + entries.join());
            ToProduct();
            for (int r : {0, 1, 2, 3, row}) {
                ClickItem(Entry(0, r));
                EXPECT_EQ(ProdTitle(), QStringLiteral("t%1").arg(r + 1));
            }
            if (action == Edit) {
                Click(Prod("titleEdit"));
                Paste(QStringLiteral("New"));
                entries[row].replace("TITLE=t" + QByteArray::number(row + 1), "TITLE=New");
            } else if (action == Remove) {
                Answer(platform::MsgAnswer::Yes);
                Key(Qt::Key_Delete);
                entries.removeAt(row);
            } else if (action == Rename) {
                Key(Qt::Key_F2);
                EndLabel(QStringLiteral("Other"));
                entries[row].replace(0, entries[row].indexOf(']') + 1, "[Other]");
            } else {
                Frame()->Action(action == Up ? vl::cmd::kMoveUp : vl::cmd::kMoveDown)->trigger();
                entries.swapItemsAt(row, action == Up ? row - 1 : row + 1);
                EXPECT_EQ(ProdTitle(), QStringLiteral("t%1").arg(row + 1))
                    << "the moved entry stays selected";
            }
            EXPECT_EQ(SaveAndRead(), kGeneralAndMisc + entries.join())
                << "row " << row << " action " << action;
            EXPECT_EQ(TakeMessages().last(), kSavedInfo);
            EXPECT_EQ(ReadFile(m_path.chopped(3) + QLatin1String("bat")).count(":PROD"), entries.size());
        }
    }
}

// Add and Rename refuse, where the name is typed, a name the file cannot carry as an entry's; the
// edit starts again for the same purpose, and a good name then goes through to the saved file.
TEST_F(Product, namesTheFileCannotCarryAreRefusedAndTheEditStartsAgain)
{
    OpenFile(kValidConfig);
    ToProduct();
    const std::pair<bool, QString> rows[] = {
        {true, QStringLiteral("MISC")}, {true, QStringLiteral("Tools [v2]")}, {true, QString(52, u'n')},
        {false, QStringLiteral("a]b")}, {false, QStringLiteral("MISC")},      {false, QString(52, u'n')}};
    int n = 0;
    for (const auto& [adding, name] : rows) {
        ClickItem(adding ? Model()->index(0, 0) : Entry(0, 0));
        Key(adding ? Qt::Key_Insert : Qt::Key_F2);
        EndLabel(name);
        EXPECT_EQ(TakeMessages(),
                  QStringList{QString::fromStdString(vl::rules::EntryNameProblem(name.toStdString()))});
        EndLabel(QStringLiteral("misc%1").arg(n++));
        for (const char* field : {"titleEdit", "descriptionEdit", "pathEdit"}) { // a new entry's fields
            Click(Prod(field));
            Paste(QStringLiteral("x"));
        }
    }
    const QByteArray saved = SaveAndRead();
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
    EXPECT_EQ(saved.count("[MISC]"), 1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(saved.count("[misc" + QByteArray::number(i) + "]"), i < 3 || i == 5 ? 1 : 0) << i;
}

// A right click commits once, refuses at most once, and selects only when it is on an entry's label.
TEST_F(Product, aRightClickCommitsOnceAndSelectsOnlyOnALabel)
{
    // Fields refused?, row clicked (0 Tools, selected), on its label?; messages, menus, row selected
    const int rows[][6] = {{0, 1, 1, 0, 1, 1}, {0, 1, 0, 0, 0, 0}, {0, 0, 1, 0, 1, 0},
                           {1, 1, 1, 1, 0, 0}, {1, 1, 0, 1, 0, 0}, {1, 0, 1, 0, 1, 0}};
    for (const auto& [invalid, target, onLabel, messages, menusShown, selected] : rows) {
        OpenFile(kValidConfig);
        ToProduct();
        ClickItem(Entry(0, 0));
        if (invalid) {
            Click(Prod("titleEdit"));
            Paste(QString());
        }
        int menus = 0;
        ProdPage()->SetPopupRunner([&](QMenu*, const QPoint&) -> QAction* { return ++menus, nullptr; });
        ClickItem(Entry(0, target), Qt::RightButton, onLabel);
        EXPECT_EQ(TakeMessages().size(), messages) << invalid << target << onLabel;
        EXPECT_EQ(menus, menusShown) << invalid << target << onLabel;
        EXPECT_EQ(Tree()->currentIndex(), Entry(0, selected));
        EXPECT_EQ(ProdTitle(), invalid ? QString() : Entry(0, selected).data().toString());
    }
}

} // namespace
} // namespace vltest
