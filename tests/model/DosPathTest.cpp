// The paths the launcher reads on its medium: every part a DOS name, folders joined by "\".
#include "model/DosPath.h"

#include <gtest/gtest.h>

namespace
{

TEST(DosPath, EveryPartEightDotThreeWithoutBlanksOrRefusedCharacters)
{
    using enum vl::DosNameFault;
    struct Row {
        const char* relative;
        const char* dosPath; // empty when refused
        const char* badPart;
        vl::DosNameFault fault;
    };
    // clang-format off
    const Row rows[] = {
        {"LOGO2.PCX", "LOGO2.PCX", "", None},         {"tools/Run.exe", "tools\\Run.exe", "", None},
        {"A\\B/C", "A\\B\\C", "", None},              {"12345678.123", "12345678.123", "", None},
        {"!#$%&'()-@^_`{}~", "", "!#$%&'()-@^_`{}~", Form},
        {"123456789.A", "", "123456789.A", Form},     {"TOOLS/RUN.EXEC", "", "RUN.EXEC", Form},
        {"RUN.", "", "RUN.", Form},                   {".PCX", "", ".PCX", Form},
        {"A.B.C", "", "A.B.C", Form},                 {"TOOLS//RUN.EXE", "", "", Form},
        {"MY TOOLS/RUN.EXE", "", "MY TOOLS", Blank},  {"A+B.EXE", "", "A+B.EXE", Character},
        {"caf\xC3\xA9.PCX", "", "caf\xC3\xA9.PCX", Character}, {"A\tB", "", "A\tB", Character},
    };
    // clang-format on
    for (const auto& [relative, dosPath, badPart, fault] : rows) {
        const vl::DosPath dos = vl::DosPathOf(relative);
        EXPECT_EQ(dos.path, dosPath) << relative;
        EXPECT_EQ(dos.badPart, badPart) << relative;
        EXPECT_EQ(dos.fault, fault) << relative;
    }
}

} // namespace
