// The Product page's entries through the window: bytes kept through a visit, and the right click.
#include "PageDriver.h"

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
