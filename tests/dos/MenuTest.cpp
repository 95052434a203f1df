// The stand-in launcher's reading of a configuration and its numbering, built for the host.
#include "dos/menu.h"
#include "model/BatchFile.h"
#include "model/ConfigFile.h"

#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <string>

namespace
{

// The menu as the stand-in shows it: "title|description|" then each entry as name=number, its
// list, when it opens one, in parentheses.
std::string Shown(const vl_menu& menu)
{
    const vl_section* general = menu.general >= 0 ? &menu.sections[menu.general] : nullptr;
    std::string out = general ? std::string(general->title) + "|" + general->description + "|" : "||";
    int top[VL_MAX_SECTIONS], inner[VL_MAX_SECTIONS];
    for (int i = 0, n = vl_list(&menu, VL_PRODUCT_HEADING, top, VL_MAX_SECTIONS); i < n; ++i) {
        const vl_section& s = menu.sections[top[i]];
        out += std::string(i ? " " : "") + s.name + "=" + std::to_string(s.number);
        const int m = vl_list(&menu, s.name, inner, VL_MAX_SECTIONS);
        for (int k = 0; k < m; ++k)
            out += (k ? " " : "(") + std::string(menu.sections[inner[k]].name) + "=" +
                   std::to_string(menu.sections[inner[k]].number) + (k + 1 == m ? ")" : "");
    }
    return out;
}

const std::string kGeneral = "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Menu\r\nDESCRIPTION=Pick\r\rone\r\n";
std::string Entry(const std::string& name, const std::string& parent = "Velmora Products")
{
    return "[" + name + "]\r\nPARENT=" + parent + "\r\nTITLE=t\r\nPATH=" + name + ".BAT\r\n";
}

TEST(StandInMenu, ReadsAndNumbersAsTheBatchFileDoes)
{
    const std::string x1010(1010, 'x');
    const struct {
        const char* what;
        std::string file;
        std::string shown;
    } cases[] = {
        {"worked example", kGeneral + "[MISC]\r\nBIOSSTR=B\r\n" + Entry("A") + Entry("B") + Entry("C"),
         "Menu|Pick\none|A=1 B=2 C=3"},
        {"two levels, a child before its parent, parents ignoring case",
         kGeneral + Entry("Disk", "TOOLS") + Entry("Tools") + Entry("Net", "tools") +
             Entry("Games", "velmora PRODUCTS"),
         "Menu|Pick\none|Tools=2(Disk=1 Net=3) Games=4"},
        {"twins both open the list", Entry("T") + Entry("T") + Entry("X", "T"), "||T=1(X=3) T=2(X=3)"},
        {"nameless, MISC and GENERAL under the heading",
         Entry("") + "[MISC]\r\nBIOSSTR=Velmora Products\r\n" + Entry("GENERAL") + kGeneral + Entry("Z"),
         "Menu|Pick\none|GENERAL=1 Z=2"},
        {"missing keys, keys in any letter case, LF line ends",
         "[A]\r\n[B]\nparent=Velmora Products\ntitle=T\n" + kGeneral, "Menu|Pick\none|B=2"},
        {"no ]: the rest of the line names it", "[Broken\r\nPARENT=Velmora Products\r\n", "||Broken=1"},
        {"1,022-byte lines; a longer one is cut and its rest is no line of its own",
         "[GENERAL]\r\nPARENT=GENERAL\r\nDESCRIPTION=" + x1010 + "\r\nTITLE=" + x1010 + "0123456789[C]\r\n" +
             Entry("E"),
         std::string(63, 'x') + "|" + x1010 + "|E=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto menu = std::make_unique<vl_menu>();
        FILE* file = fmemopen(const_cast<char*>(c.file.data()), c.file.size(), "rb");
        ASSERT_NE(file, nullptr);
        vl_read_menu(file, menu.get());
        std::fclose(file);
        EXPECT_EQ(Shown(*menu), c.shown);
        // Where the editor reads the file too, each entry's number is the label that runs its program.
        if (const vl::ReadResult read = vl::ParseConfigText(c.file); read.ring) {
            const std::string batch = vl::ComposeBatchText("M.ini", read.ring);
            for (const vl_section& s : std::span(menu->sections, menu->count))
                EXPECT_TRUE(!s.number || batch.find(":PROD" + std::to_string(s.number) + "\n\t\t" +
                                                    (*s.path ? s.path : "@echo Batch File not found...!!!") +
                                                    "\n") != std::string::npos);
            vl::FreeSectionRing(read.ring);
        }
        vl_free_menu(menu.get());
    }
}

} // namespace
