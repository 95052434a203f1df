// Windows-1252 bytes and text: every byte comes back, and only its 256 characters have a byte.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, EveryByteSurvivesAndOtherCharactersAreRefused)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = platform::FromCp1252(all);
    EXPECT_EQ(platform::ToCp1252(text), all);
    EXPECT_EQ(text.mid(0x80, 1) + text.mid(0x8A, 1) + text.mid(0x9F, 1),
              QStringLiteral("\u20AC\u0160\u0178"));
    for (char16_t c : {0x0100, 0x4E2D, 0x2028, 0x0080})
        EXPECT_FALSE(platform::IsCp1252(QChar(c)) || platform::ToCp1252(QString(QChar(c)))) << int(c);
}
