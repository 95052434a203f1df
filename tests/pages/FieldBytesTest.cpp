// Every byte the file can hold, in every text the pages show, comes back unchanged from a visit.
#include "PageDriver.h"

namespace vltest
{
namespace
{

using FieldBytes = PageDriver;

// Bytes 1 to 255 but LF, which ends a line, as the file holds them ("\r\r" is a line break).
QByteArray EveryByte()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\n')
            all += static_cast<char>(b);
    }
    return all;
}

// Opening, showing every entry and both pages, and saving gives the file back byte for byte: a lone
// CR stays a CR, a no-break space stays 0xA0, a 240-byte description holding a lone CR may be left.
TEST_F(FieldBytes, aVisitWithoutEditsSavesTheSameBytes)
{
    const QByteArray all = EveryByte();
    const QByteArray lone = QByteArray(119, 'a') + "\r" + QByteArray(120, 'b');
    QByteArray file = Section("GENERAL", "GENERAL", all.left(18), all, all.right(120) + "\r\r" + all.left(117));
    file += "[MISC]\r\nBIOSSTR=" + all.mid(30, 40) + "\r\n\r\n";
    for (int i = 0; i * 60 < all.size(); ++i) {
        const QByteArray piece = all.mid(i * 60, 63);
        file += Section("E" + QByteArray::number(i), "Velmora Products", piece, all.mid(i * 50),
                        i == 0 ? lone : all.mid(i * 50, 118) + "\r\r" + piece.left(60));
    }
    OpenFile(file);
    ToProduct();
    for (int row = 0; row < Model()->rowCount(Model()->index(0, 0)); ++row) {
        ClickItem(Entry(0, row));
        EXPECT_EQ(Tree()->currentIndex(), Entry(0, row));
    }
    Click(Prod("backButton"));
    EXPECT_EQ(Frame()->FindPage(vl::kGeneralPageId)->isVisible(), true);
    EXPECT_EQ(SaveAndRead(), file);
    EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
}

} // namespace
} // namespace vltest
