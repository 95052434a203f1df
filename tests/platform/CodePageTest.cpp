// Conversion between Windows-1252 bytes and text.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, everyByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = platform::FromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(platform::ToCp1252(text), all);
}

TEST(CodePage, mapsTheHighBlockAndRefusesOtherCharacters)
{
    struct Case {
        char16_t character;
        int byte; // -1: no byte
    };
    const Case cases[] = {
        {0x20AC, 0x80}, {0x0160, 0x8A}, {0x0178, 0x9F}, {0x0081, 0x81}, {0x009D, 0x9D},
        {0x00E9, 0xE9}, {0x0100, -1},   {0x4E2D, -1},   {0x2028, -1},   {0x0080, -1},
    };
    for (const Case& c : cases) {
        const auto bytes = platform::ToCp1252(QString(QChar(c.character)));
        if (c.byte < 0) {
            EXPECT_FALSE(bytes.has_value()) << std::hex << static_cast<int>(c.character);
            EXPECT_FALSE(platform::IsCp1252(QChar(c.character)));
        } else {
            ASSERT_TRUE(bytes.has_value()) << std::hex << static_cast<int>(c.character);
            EXPECT_EQ(static_cast<unsigned char>((*bytes)[0]), c.byte);
        }
    }
}
