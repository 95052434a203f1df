// The PCX module: the bytes of a version 2 logo, the reading of other kinds, the DOS names of logos.
#include "model/Pcx.h"

#include <gtest/gtest.h>

namespace
{

using vl::pcx::Decode;

std::optional<vl::pcx::Image> DecodeBytes(const std::string& bytes)
{
    return Decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// A header: manufacturer, version, encoding and bits per pixel, then Xmax = width - 1, Ymax = 0, and
// the plane count and bytes per line at 65.
std::string Header(char version, char bits, char width, char planes, char bytesPerLine)
{
    std::string header = std::string{10, version, 1, bits, 0, 0, 0, 0, char(width - 1), 0, 0, 0};
    header.resize(128);
    header[65] = planes;
    header[66] = bytesPerLine;
    return header;
}

// Three pixels of colours 0, 1, 2 over three of colour 15: 4 planes of 2 bytes a line, each plane
// line encoded on its own, bytes from C0 up escaped.
TEST(Pcx, Version2BytesOfALogo)
{
    vl::pcx::IndexedImage logo{3, 2, {}, {0, 1, 2, 15, 15, 15}};
    logo.palette[1] = {0x11, 0x22, 0x33};
    logo.palette[15] = {0xFF, 0xFF, 0xFE};
    std::string expected = std::string{10, 2, 1, 1, 0, 0, 0, 0, 2, 0, 1, 0, 75, 0, 75, 0} +
                           std::string(3, '\0') + "\x11\x22\x33" + std::string(39, '\0') + "\xFF\xFF\xFE" +
                           std::string{0, 4, 2, 0, 1, 0};
    expected.resize(128);
    expected += std::string("\x40\x00\x20\x00\xC2\x00\xC2\x00", 8) + std::string(4 * 3, '\0');
    for (int plane = 0; plane < 4; ++plane)
        expected.replace(136 + 3 * plane, 2, "\xC1\xE0");
    const std::string made = vl::pcx::EncodeVersion2(logo);
    EXPECT_EQ(made, expected);

    const auto decoded = DecodeBytes(made);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->rgb, (std::vector<std::uint8_t>{0, 0, 0, 0x11, 0x22, 0x33, 0, 0, 0, 0xFF, 0xFF, 0xFE,
                                                       0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFE}));
}

// Kinds written by other programs; pixel data cut short is no picture.
TEST(Pcx, OtherKindsAndShortData)
{
    // 1 bit in one plane with the palette left empty: black and white. One byte of pixels 10110000.
    EXPECT_EQ(DecodeBytes(Header(5, 1, 4, 1, 2) + std::string("\xB0\x00", 2))->rgb,
              (std::vector<std::uint8_t>{255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255}));
    // True colour: a line of red, one of green, one of blue, each plane 2 bytes; a 0xC8 escaped, then
    // a run of two.
    EXPECT_EQ(DecodeBytes(Header(5, 8, 2, 3, 2) + "\x01\xC1\xC8\xC2\xC8\x07\x08")->rgb,
              (std::vector<std::uint8_t>{1, 0xC8, 7, 0xC8, 0xC8, 8}));
    // 8 bits with the 256-colour palette after the pixels.
    std::string vga = Header(5, 8, 2, 1, 2) + std::string("\x01\x00\x0C", 3) + std::string(768, '\0');
    vga.replace(vga.size() - 765, 3, "\x0A\x0B\x0C");
    EXPECT_EQ(DecodeBytes(vga)->rgb, (std::vector<std::uint8_t>{10, 11, 12, 0, 0, 0}));
    EXPECT_FALSE(DecodeBytes(Header(5, 8, 2, 3, 2) + "\x01\xC1\xC8\xC2\xC8\x07"));
    EXPECT_FALSE(DecodeBytes(Header(5, 8, 100, 1, 100) + "\xFF"));
    EXPECT_FALSE(DecodeBytes(Header(5, 3, 2, 1, 2) + "\x01\x02"));
}

// A picture of up to 16 colours keeps them exactly, in a logo that decodes back to it.
TEST(Pcx, FewColoursKeptExactly)
{
    vl::pcx::Image picture{17, 3, {}};
    for (int i = 0; i < 17 * 3; ++i)
        for (int c = 0; c < 3; ++c)
            picture.rgb.push_back(std::uint8_t(i % 16 * 16 + c * 5));
    EXPECT_EQ(DecodeBytes(vl::pcx::EncodeVersion2(vl::pcx::ReduceColours(picture)))->rgb, picture.rgb);
}

TEST(Pcx, DosNamesOfLogos)
{
    const struct {
        std::string picture;
        std::string logo;
    } names[] = {
        {"logo.png", "LOGO.PCX"}, {"Company Logo.final.png", "COMPANYL.PCX"}, {"a+b=c;d.gif", "ABCD.PCX"},
        {"con.svg", "CON_.PCX"},  {"\xC3\xA9t\xC3\xA9.jpg", "T.PCX"},         {".png", "LOGO.PCX"},
        {"(1)~x", "(1)~X.PCX"},
    };
    for (const auto& [picture, logo] : names)
        EXPECT_EQ(vl::pcx::DosLogoName(picture), logo) << picture;
    EXPECT_EQ(vl::pcx::NumberedDosName("COMPANYL.PCX", 12), "COMPAN12.PCX");
    EXPECT_EQ(vl::pcx::NumberedDosName("LPT.PCX", 1), "LPT1_.PCX");
}

} // namespace
