// The configuration file: reading, writing, and writing what was read.
#include "model/ConfigFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace
{

using namespace vl;
using std::nullopt;
using Text = std::optional<std::string>;
using Ring = std::unique_ptr<SectionNode, decltype([](SectionNode* n) { FreeSectionRing(n); })>;
namespace fs = std::filesystem;

struct Section {
    std::string parent, name, title;
    Text description = nullopt, path = nullopt;
    bool operator==(const Section&) const = default;
};
using Sections = std::vector<Section>;

void PrintTo(const Section& s, std::ostream* os)
{
    *os << testing::PrintToString(std::tie(s.parent, s.name, s.title, s.description, s.path));
}

Ring MakeRing(const Sections& sections)
{
    Ring ring(CreateSectionNode(kSentinelMark, kSentinelMark, "", nullopt, nullopt));
    ring->next = ring.get();
    SectionNode* last = ring.get();
    for (const Section& s : sections)
        last = InsertSectionAfter(last, CreateSectionNode(s.parent, s.name, s.title, s.description, s.path));
    return ring;
}

// The sections of a ring, after checking its sentinel, that no other node looks like it, and the cycle.
Sections SectionsOf(const SectionNode* s)
{
    Sections out;
    EXPECT_EQ((Section{s->parent, s->name, s->title, s->description, s->path}), (Section{"[S]", "[S]", ""}));
    const SectionNode* n = s->next;
    for (; n && n != s && out.size() < 10000; n = n->next) {
        EXPECT_NE(n->parent, "[S]") << "a second node looks like the sentinel";
        out.push_back({n->parent, n->name, n->title, n->description, n->path});
    }
    EXPECT_EQ(n, s) << "the ring is not closed";
    return out;
}

std::pair<int, Sections> Parse(std::string_view bytes)
{
    ReadResult r = ParseConfigText(bytes);
    EXPECT_EQ(r.status == 0, r.ring != nullptr);
    Ring ring(r.ring);
    return {r.status, ring ? SectionsOf(ring.get()) : Sections{}};
}

// The one section "A" as read.
Sections A(std::string parent, std::string title = "", Text description = nullopt, Text path = nullopt)
{
    return {{parent, "A", title, description, path}};
}

TEST(ConfigRead, Table)
{
    const std::string v70(70, 'v'), n1020(1020, 'n'), p1017(1017, 'p'), mark70 = "[S]" + std::string(70, 'x');
    const int bad = kReadBadLine, none = kReadNoSection;
    // A file of the section "[A]" followed by these lines.
    const auto inA = [](const std::string& lines) { return "[A]\r\n" + lines; };
    const std::tuple<std::string, int, Sections> cases[] = {
        // clang-format off
        // The parent key is recognised by its first five letters; keys in any case, values as they are.
        {inA("PARENTS=x\r\n"), 0, A("x")}, {inA("Parent=x\r\n"), 0, A("x")}, {inA("paren=x\r\n"), 0, A("x")},
        {inA("PARENT=a=b\r\n"), 0, A("a=b")}, {inA("title=x\r\n"), 0, A("", "x")},
        {inA("path= \r\n"), 0, A("", "", nullopt, " ")}, {inA("; c\r\n\r\n;\r\n"), 0, A("")},
        {inA("TITL=x\r\n"), bad, {}}, {inA(" PARENT=x\r\n"), bad, {}}, {inA("PATHS=x\r\n"), bad, {}},
        {inA("x\r\n"), bad, {}}, {inA(" \r\n"), bad, {}}, {inA("PAREN\r\n"), bad, {}},
        // A later key replaces an earlier one; an empty description or path leaves the earlier one or none.
        {inA("PARENT=p\r\nPARENT=\r\nTITLE=t\r\nTITLE=\r\n"), 0, A("")},
        {inA("PARENT=p\r\nbiosstr=b\r\n"), 0, A("b")}, {inA("BIOSSTR=b\r\nPARENT=\r\n"), 0, A("")},
        {inA("Description=d\r\nDESCRIPTION=\r\nPATH=p\r\nPATH=\r\n"), 0, A("", "", "d", "p")},
        {inA("DESCRIPTION=d\r\nDESCRIPTION=e\r\nPATH=p\r\nPATH=q\r\n"), 0, A("", "", "e", "q")},
        {inA("DESCRIPTION=\r\nPATH=\r\n"), 0, A("")},
        // CR CR in a description is its line break; CR LF ends a line, and so does a bare LF.
        {inA("DESCRIPTION=a\r\rb\r\n"), 0, A("", "", "a\r\nb")},
        {inA("DESCRIPTION=a\rb\r\n"), 0, A("", "", "a\rb")},
        {inA("DESCRIPTION=\r\r\r\r\r\n"), 0, A("", "", "\r\n\r\n")},
        {inA("DESCRIPTION=\r\r\r\r\n"), 0, A("", "", "\r\n\r")},
        {inA("DESCRIPTION=a\r\r\r\n"), 0, A("", "", "a\r\n")},
        {inA("TITLE=a\r\rb\n"), 0, A("", "a\r\rb")}, {inA("TITLE=x\r\r\n"), 0, A("", "x\r")},
        {inA("TITLE=x"), 0, A("", "x")}, {inA("TITLE=x\r"), 0, A("", "x\r")},
        // Parent, name and title keep 63 bytes; a line keeps at most 1022 and no NUL byte.
        {inA("PARENT=" + v70 + "\r\n"), 0, A(v70.substr(0, 63))},
        {inA("TITLE=" + v70), 0, A("", v70.substr(0, 63))},
        {inA("PATH=" + p1017 + "\r\n"), 0, A("", "", nullopt, p1017)},
        {inA("PATH=" + p1017), 0, A("", "", nullopt, p1017)},
        {inA("PATH=" + p1017 + "p\r\n"), bad, {}}, {inA(";" + std::string(1022, 'c') + "\r\n"), bad, {}},
        {inA(std::string("PARENT=a\0b\r\n", 11)), bad, {}}, {inA(std::string(";\0\r\n", 4)), bad, {}},
        {"[" + n1020 + "]\r\n", 0, {{"", n1020.substr(0, 63), ""}}}, {"[" + n1020 + "n]\r\n", bad, {}},
        // Only the sentinel may hold its mark as parent.
        {inA("PARENT=[S]\r\n"), bad, {}}, {inA("BIOSSTR=[S]\r\n"), bad, {}}, {inA("paren=[S]"), bad, {}},
        {inA("PARENT=[s]\r\n"), 0, A("[s]")}, {inA("PARENT=" + mark70), 0, A(mark70.substr(0, 63))},
        // Headers: text after "]" is ignored, the name may be empty or repeated.
        {"[GENERAL] ; note\r\n", 0, {{"", "GENERAL", ""}}}, {"[]\r\n", 0, {{"", "", ""}}},
        {"[a]b]\r\n[ B ]", 0, {{"", "a", ""}, {"", " B ", ""}}},
        {"; x\r\n\r\n[A]\r\n[A]", 0, {{"", "A", ""}, {"", "A", ""}}},
        {"", none, {}}, {"; only\r\n\r\n;comments", none, {}}, {"\r\n\n\r\n", none, {}},
        {"[A\r\n", bad, {}}, {"[A]\r\n[B\r\n", bad, {}}, // a header without "]"
        {"PARENT=x\r\n[A]\r\n", bad, {}}, {"PATH=\r\n[A]\r\n", bad, {}}, // a key before the first header
        // clang-format on
    };
    for (const auto& [bytes, status, sections] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 40)) + ' ' + std::to_string(bytes.size()));
        EXPECT_EQ(Parse(bytes), std::make_pair(status, sections));
    }
}

class ConfigOnDisk : public testing::Test
{
  protected:
    void SetUp() override { ASSERT_NE(mkdtemp(dir_.data()), nullptr); }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Put(const std::string& file, const std::string& bytes)
    {
        std::ofstream(dir_ + "/" + file, std::ios::binary) << bytes;
        return dir_ + "/" + file;
    }
    std::string Bytes(const std::string& file) const
    {
        std::ifstream in(dir_ + "/" + file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    long Files() const { return std::distance(fs::directory_iterator(dir_), {}); }
    std::string dir_ = "/tmp/vlconfig.XXXXXX";
};

const Sections kExampleRing = {
    {"GENERAL", "GENERAL", "Welcome", "Pick one\r\nand press Enter", "C:\\LOGO.PCX"},
    {"X1", "MISC", ""},
    {"Velmora Products", "Tools", "Tools", nullopt, "TOOLS.BAT"},
};

const std::string kExampleBytes =
    "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Welcome\r\nPATH=C:\\LOGO.PCX\r\n"
    "DESCRIPTION=Pick one\r\rand press Enter\r\n\r\n"
    "[MISC]\r\nBIOSSTR=X1\r\n\r\n"
    "[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\nPATH=TOOLS.BAT\r\nDESCRIPTION=\r\n\r\n";

TEST_F(ConfigOnDisk, ExampleIsWrittenByteForByteAndReadBack)
{
    Ring ring = MakeRing(kExampleRing);
    ASSERT_TRUE(WriteConfigFile(dir_ + "/MENU.ini", ring->next->next)); // any node of the ring will do
    EXPECT_EQ(Bytes("MENU.ini"), kExampleBytes);
    EXPECT_EQ(Files(), 1);
    ReadResult back = ReadConfigFile(dir_ + "/MENU.ini");
    ASSERT_EQ(back.status, 0);
    EXPECT_EQ(SectionsOf(Ring(back.ring).get()), kExampleRing);

    // The statuses of files that give no ring.
    EXPECT_EQ(ReadConfigFile(dir_ + "/missing.ini").status, kReadCannotOpen);
    EXPECT_EQ(ReadConfigFile(dir_).status, kReadCannotOpen); // a folder
    EXPECT_EQ(ReadConfigFile(Put("notes.ini", ";a\r\n\r\n; b\r\n")).status, kReadNoSection);
    EXPECT_EQ(ReadConfigFile(Put("bad.ini", "[A]\r\nTITL=x\r\n")).status, kReadBadLine);
}

TEST(ConfigWrite, FormsOfSections)
{
    const std::string d1010(1010, 'd'), p1017(1017, 'p');
    const std::pair<Section, std::string> cases[] = {
        // Only "MISC" in capitals has the BIOSSTR form; "misc" is written like any other section.
        {{"X1", "misc", ""}, "[misc]\r\nPARENT=X1\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=\r\n\r\n"},
        {{"p", "A", "t", "one\ntwo\r\n", "a b"},
         "[A]\r\nPARENT=p\r\nTITLE=t\r\nPATH=a b\r\nDESCRIPTION=one\rtwo\r\r\r\n\r\n"},
        {{"", "MISC", "lost", "lost", "lost"}, "[MISC]\r\nBIOSSTR=\r\n\r\n"},
        {{"p", "A", "t", d1010, p1017},
         "[A]\r\nPARENT=p\r\nTITLE=t\r\nPATH=" + p1017 + "\r\nDESCRIPTION=" + d1010 + "\r\n\r\n"},
    };
    for (const auto& [section, expected] : cases) {
        std::string bytes;
        ASSERT_TRUE(ComposeConfigText(MakeRing({section}).get(), bytes));
        EXPECT_EQ(bytes, expected);
        EXPECT_EQ(Parse(bytes).first, 0) << expected;
    }
}

// What the file cannot carry, or the reader would refuse, is not written, and an older file stays as it was.
TEST_F(ConfigOnDisk, RefusesValuesTheFileCannotCarry)
{
    const std::string nul(1, '\0');
    const std::function<void(SectionNode&)> spoil[] = {
        // clang-format off
        [](SectionNode& n) { n.name = "a]b"; },         [](SectionNode& n) { n.name = "a\nb"; },
        [&](SectionNode& n) { n.name = "a" + nul; },    [](SectionNode& n) { n.parent = "p\n"; },
        [&](SectionNode& n) { n.parent = nul; },        [](SectionNode& n) { n.title = "\nt"; },
        [](SectionNode& n) { n.path = "a\r\nb"; },      [&](SectionNode& n) { n.path = "a" + nul + "b"; },
        [&](SectionNode& n) { n.description = "d" + nul; },
        [](SectionNode& n) { n.name = "MISC"; n.parent = "b\nb"; },
        // Lines of 1023 bytes: "[", the name and "]"; "PATH=" and the path; "DESCRIPTION=" and the text.
        [](SectionNode& n) { n.name = std::string(1021, 'n'); },
        [](SectionNode& n) { n.path = std::string(1018, 'p'); },
        [](SectionNode& n) { n.description = std::string(1011, 'd'); },
        [](SectionNode& n) { n.name = "MISC"; n.parent = std::string(1015, 'b'); }, // BIOSSTR= and 1015
        // The reader refuses a parent of "[S]", taking it for the sentinel's.
        [](SectionNode& n) { n.parent = "[S]"; }, [](SectionNode& n) { n.name = "MISC"; n.parent = "[S]"; },
        // clang-format on
    };
    const std::string old = "[OLD]\r\n";
    const std::string path = Put("MENU.ini", old);
    for (std::size_t i = 0; i < std::size(spoil); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        Ring ring = MakeRing(kExampleRing);
        spoil[i](*ring->next->next->next);
        std::string reason;
        EXPECT_FALSE(WriteConfigFile(path, ring.get(), &reason));
        EXPECT_FALSE(reason.empty());
    }
    // No file name, no ring, or a ring without sections.
    std::string noName, noRing, noSection;
    EXPECT_FALSE(WriteConfigFile("", MakeRing(kExampleRing).get(), &noName));
    EXPECT_FALSE(WriteConfigFile(path, nullptr, &noRing));
    EXPECT_FALSE(WriteConfigFile(path, MakeRing({}).get(), &noSection));
    EXPECT_FALSE(noName.empty() || noRing.empty() || noSection.empty());
    EXPECT_EQ(Bytes("MENU.ini"), old);
    EXPECT_EQ(Files(), 1);
}

// Random rings of values the file can carry: written, read and written again.
TEST(ConfigRoundTrip, RandomRingsSurviveWriteReadWrite)
{
    std::mt19937 rng(20240611u);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    // Bytes of any kind but NUL, mostly printable, a few CRs among them; none of the banned ones.
    auto text = [&](int low, int high, std::string_view banned) {
        std::string s(static_cast<std::size_t>(pick(low, high)), ' ');
        for (char& c : s) {
            const int r = pick(0, 99);
            c = static_cast<char>(r < 20   ? pick(0x80, 0xFF)
                                  : r < 96 ? pick(0x20, 0x7E)
                                  : r < 98 ? '\r'
                                           : pick(1, 0x1F));
            if (banned.find(c) != std::string_view::npos)
                c = '.';
        }
        return s;
    };
    // Lines without CR or LF joined by CR LF; never empty.
    auto description = [&] {
        std::string d = text(0, 150, "\r\n");
        for (int lines = pick(0, 4); lines > 0; --lines)
            d += "\r\n" + text(0, 150, "\r\n");
        return d.empty() ? std::string("\r\n") : d;
    };

    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE("ring " + std::to_string(i));
        Sections sections(static_cast<std::size_t>(pick(1, 8)));
        for (Section& s : sections) {
            const int kind = pick(0, 9);
            s.name = kind == 0 ? "MISC" : kind == 1 ? "GENERAL" : text(0, 63, "\r\n]");
            s.parent = kind == 1 ? "GENERAL" : text(0, 63, "\n["); // so never the sentinel's mark "[S]"
            if (kind == 0)
                continue; // MISC carries its BIOSSTR value alone
            s.title = text(0, 63, "\n");
            s.path = pick(0, 2) != 0 ? Text(text(1, 300, "\n")) : nullopt;
            s.description = pick(0, 2) != 0 ? Text(description()) : nullopt;
        }
        std::string first, second;
        ASSERT_TRUE(ComposeConfigText(MakeRing(sections).get(), first));
        Ring ring(ParseConfigText(first).ring);
        ASSERT_NE(ring, nullptr);
        EXPECT_EQ(SectionsOf(ring.get()), sections);
        EXPECT_TRUE(ComposeConfigText(ring.get(), second));
        EXPECT_EQ(second, first);
    }
}

} // namespace
