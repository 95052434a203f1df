// The company logo's PCX header check.
#include "model/LogoCheck.h"
#include "app/AppFixture.h"

namespace
{

// A PCX header: manufacturer 10, RLE, 8 bits, Xmin = Ymin = 0, and the given version and extents.
QByteArray Header(int size, int version, quint16 xmax, quint16 ymax)
{
    const char start[] = {10,         char(version),  1, 8, 0, 0, 0, 0, char(xmax), char(xmax >> 8),
                          char(ymax), char(ymax >> 8)};
    return (QByteArray(start, sizeof start) + QByteArray(200, '\0')).left(size);
}

using Logo = vltest::AppTest;

// Judged by the first 128 bytes alone, read from a file; Xmax and Ymax are signed.
TEST_F(Logo, HeaderVersionAndExtents)
{
    const char* const notPcx2 = "The specified file is not a valid PCX Version 2 image.";
    const char* const tooLarge = "Image cannot be larger than 120x120 pixels..!!";
    // clang-format off
    const std::pair<QByteArray, const char*> cases[] = {
        {Header(128, 2, 120, 120), ""},              {Header(127, 2, 0, 0), notPcx2},
        {Header(128, 3, 0, 0), notPcx2},    {Header(128, 5, 0, 0), notPcx2},
        {Header(128, 2, 121, 0), tooLarge}, {Header(128, 2, 0, 121), tooLarge},
        {Header(128, 2, 0xFFFF, 0x8000), ""},        {Header(128, 2, 64, 64) + QByteArray(4000, '\xC1'), ""},
    };
    // clang-format on
    for (const auto& [bytes, expected] : cases) {
        std::string message = "left over";
        EXPECT_EQ(vl::CheckLogoFile(vl::LocalPath(WriteFile(QStringLiteral("logo.pcx"), bytes)), message),
                  !*expected);
        EXPECT_EQ(message, expected) << bytes.left(12).toHex(' ').toStdString();
    }
}

} // namespace
