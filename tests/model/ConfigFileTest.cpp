// The configuration file: reading, writing, and writing what was read.
#include "model/ConfigFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

namespace {

using namespace vl;
using std::nullopt;
using Text = std::optional<std::string>;
namespace fs = std::filesystem;

struct Section {
    std::string parent, name, title;
    Text description, path;
    bool operator==(const Section&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Section& s)
{
    return os << testing::PrintToString(std::tie(s.parent, s.name, s.title, s.description, s.path));
}

struct RingDeleter {
    void operator()(SectionNode* node) const { FreeSectionRing(node); }
};
using Ring = std::unique_ptr<SectionNode, RingDeleter>;

Ring MakeRing(const std::vector<Section>& sections)
{
    SectionNode* sentinel = CreateSectionNode(kSentinelMark, kSentinelMark, "", nullopt, nullopt);
    sentinel->next = sentinel;
    SectionNode* last = sentinel;
    for (const Section& s : sections)
        last = InsertSectionAfter(last, CreateSectionNode(s.parent, s.name, s.title, s.description, s.path));
    return Ring(sentinel);
}

std::vector<Section> SectionsOf(const SectionNode* sentinel)
{
    std::vector<Section> out;
    for (const SectionNode* n = sentinel->next; n != sentinel; n = n->next)
        out.push_back({n->parent, n->name, n->title, n->description, n->path});
    return out;
}

class ConfigOnDisk : public testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/vlconfig.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Put(const std::string& file, const std::string& bytes)
    {
        const std::string path = dir_ + "/" + file;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Bytes(const std::string& file) const
    {
        std::ifstream in(dir_ + "/" + file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir_;
};

// The status and the sections read from bytes, after checking that the ring is well formed:
// one sentinel, every other node a section, the cycle closed.
struct Parsed {
    int status = 0;
    std::vector<Section> sections;
};

Parsed Parse(std::string_view bytes)
{
    ReadResult r = ParseConfigText(bytes);
    Parsed out{r.status, {}};
    EXPECT_EQ(r.status == 0, r.ring != nullptr);
    if (!r.ring)
        return out;
    const SectionNode* s = r.ring;
    EXPECT_EQ((Section{s->parent, s->name, s->title, s->description, s->path}),
              (Section{"[S]", "[S]", "", nullopt, nullopt}));
    const SectionNode* n = s->next;
    for (; n && n != s && out.sections.size() < 10000; n = n->next) {
        EXPECT_NE(n->parent, "[S]") << "a second node looks like the sentinel";
        out.sections.push_back({n->parent, n->name, n->title, n->description, n->path});
    }
    EXPECT_EQ(n, s) << "the ring is not closed";
    FreeSectionRing(r.ring);
    return out;
}

// Reads "[A]" followed by the given lines; the one section, or the status.
struct KeyCase {
    std::string body;
    int status;
    std::string parent = "";
    std::string title = "";
    Text description = nullopt;
    Text path = nullopt;
};

// A short, unique label of a table row's bytes.
std::string Label(const std::string& bytes)
{
    if (bytes.size() <= 32)
        return testing::PrintToString(bytes);
    return testing::PrintToString(bytes.substr(0, 24)) + "..." + std::to_string(bytes.size());
}

void PrintTo(const KeyCase& c, std::ostream* os) { *os << Label(c.body); }

class KeyLines : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyLines, ReadIntoTheSection)
{
    const KeyCase& c = GetParam();
    Parsed p = Parse("[A]\r\n" + c.body);
    ASSERT_EQ(p.status, c.status);
    if (c.status != 0)
        return;
    ASSERT_EQ(p.sections.size(), 1u);
    EXPECT_EQ(p.sections[0], (Section{c.parent, "A", c.title, c.description, c.path}));
}

const std::string k70(70, 'v');

INSTANTIATE_TEST_SUITE_P(
    Matching, KeyLines,
    testing::Values(
        // The parent key is recognised by its first five letters, in any case.
        KeyCase{"PARENTS=x\r\n", 0, "x"}, KeyCase{"Parent=x\r\n", 0, "x"}, KeyCase{"paren=x\r\n", 0, "x"},
        KeyCase{"PARENTHESIS=x\r\n", 0, "x"}, KeyCase{"PARENT=a=b\r\n", 0, "a=b"},
        KeyCase{"PARENT= x \r\n", 0, " x "}, KeyCase{"title=x\r\n", 0, "", "x"},
        KeyCase{"Description=d\r\n", 0, "", "", "d"}, KeyCase{"path=p\r\n", 0, "", "", nullopt, "p"},
        KeyCase{"PATH= \r\n", 0, "", "", nullopt, " "}, KeyCase{"biosstr=b\r\n", 0, "b"},
        KeyCase{"PARENT=\xC9t\xE9\r\n", 0, "\xC9t\xE9"}, KeyCase{"; c\r\n\r\n;\r\n", 0},
        KeyCase{"TITL=x\r\n", kReadBadLine}, KeyCase{" PARENT=x\r\n", kReadBadLine},
        KeyCase{"\tTITLE=x\r\n", kReadBadLine}, KeyCase{"PATHS=x\r\n", kReadBadLine},
        KeyCase{"TITLE\r\n", kReadBadLine}, KeyCase{"x\r\n", kReadBadLine}, KeyCase{" \r\n", kReadBadLine},
        KeyCase{"PAREN\r\n", kReadBadLine}, KeyCase{"ParentX\r\n", kReadBadLine}));

INSTANTIATE_TEST_SUITE_P(
    LaterKeys, KeyLines,
    testing::Values(
        // Parent, title and BIOSSTR take the later value even when it is empty.
        KeyCase{"PARENT=p\r\nPARENT=\r\nTITLE=t\r\nTITLE=\r\n", 0},
        KeyCase{"PARENT=p\r\nBIOSSTR=b\r\n", 0, "b"}, KeyCase{"BIOSSTR=b\r\nPARENT=\r\n", 0},
        // Description and path take it only when it is not empty; empty values leave none.
        KeyCase{"DESCRIPTION=d\r\nDESCRIPTION=\r\nPATH=p\r\nPATH=\r\n", 0, "", "", "d", "p"},
        KeyCase{"DESCRIPTION=d\r\nDESCRIPTION=e\r\nPATH=p\r\nPATH=q\r\n", 0, "", "", "e", "q"},
        KeyCase{"DESCRIPTION=\r\nPATH=\r\n", 0}));

INSTANTIATE_TEST_SUITE_P(
    LineEnds, KeyLines,
    testing::Values(
        KeyCase{"DESCRIPTION=a\r\rb\r\n", 0, "", "", "a\r\nb"},
        KeyCase{"DESCRIPTION=\r\r\r\r\r\n", 0, "", "", "\r\n\r\n"},
        KeyCase{"DESCRIPTION=\r\r\r\r\n", 0, "", "", "\r\n\r"},
        KeyCase{"DESCRIPTION=a\rb\r\n", 0, "", "", "a\rb"},
        KeyCase{"DESCRIPTION=a\r\r\r\n", 0, "", "", "a\r\n"},
        KeyCase{"TITLE=x\n", 0, "", "x"},             // a bare LF ends a line as well
        KeyCase{"TITLE=x\r\r\n", 0, "", "x\r"},       // a CR before the line end stays
        KeyCase{"TITLE=a\rb\r\n", 0, "", "a\rb"},     // a lone CR stays
        KeyCase{"TITLE=x", 0, "", "x"},               // last line without a line break
        KeyCase{"TITLE=x\r", 0, "", "x\r"}));

INSTANTIATE_TEST_SUITE_P(
    Lengths, KeyLines,
    testing::Values(
        KeyCase{"PARENT=" + k70 + "\r\n", 0, k70.substr(0, 63)},
        KeyCase{"TITLE=" + std::string(64, 't') + "\r\n", 0, "", std::string(63, 't')},
        KeyCase{"PATH=" + std::string(1017, 'p') + "\r\n", 0, "", "", nullopt, std::string(1017, 'p')},
        KeyCase{"PATH=" + std::string(1017, 'p'), 0, "", "", nullopt, std::string(1017, 'p')},
        KeyCase{"PATH=" + std::string(1018, 'p') + "\r\n", kReadBadLine},
        KeyCase{";" + std::string(1022, 'c') + "\r\n", kReadBadLine},
        KeyCase{std::string("PARENT=a\0b\r\n", 11), kReadBadLine},
        KeyCase{std::string(";\0\r\n", 4), kReadBadLine}));

struct HeaderCase {
    std::string bytes;
    int status;
    std::vector<std::string> names;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << Label(c.bytes); }

class Headers : public testing::TestWithParam<HeaderCase> {};

TEST_P(Headers, StartSections)
{
    Parsed p = Parse(GetParam().bytes);
    ASSERT_EQ(p.status, GetParam().status);
    std::vector<std::string> names;
    for (const Section& s : p.sections)
        names.push_back(s.name);
    EXPECT_EQ(names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Headers,
    testing::Values(
        HeaderCase{"[GENERAL] ; note\r\n", 0, {"GENERAL"}}, HeaderCase{"[]\r\n", 0, {""}},
        HeaderCase{"[a]b]\r\n[ B ]", 0, {"a", " B "}}, HeaderCase{"[A]\r\n[A]\r\n", 0, {"A", "A"}},
        HeaderCase{"; lead\r\n\r\n[A]\r\n", 0, {"A"}},
        HeaderCase{"[" + std::string(70, 'n') + "]\r\n", 0, {std::string(63, 'n')}},
        HeaderCase{"[" + std::string(1020, 'n') + "]\r\n", 0, {std::string(63, 'n')}},
        HeaderCase{"[" + std::string(1021, 'n') + "]\r\n", kReadBadLine, {}},
        HeaderCase{"", kReadNoSection, {}}, HeaderCase{"; only\r\n\r\n;comments", kReadNoSection, {}},
        HeaderCase{"\r\n\n\r\n", kReadNoSection, {}},
        // Lines that cannot be taken safely.
        HeaderCase{"[A\r\n", kReadBadLine, {}}, HeaderCase{"[A]\r\n[B\r\n", kReadBadLine, {}},
        HeaderCase{"PARENT=x\r\n[A]\r\n", kReadBadLine, {}}, HeaderCase{"TITLE=x\r\n[A]\r\n", kReadBadLine, {}},
        HeaderCase{"BIOSSTR=X1\r\n[MISC]\r\n", kReadBadLine, {}},
        HeaderCase{"PATH=\r\n[A]\r\n", kReadBadLine, {}}));

// The ring keeps exactly one node with the sentinel's parent text, whatever values the file holds;
// otherwise the operations handed another node of the ring mistake that node for the sentinel.
TEST(ConfigRead, NoSectionTakesTheSentinelMarkAsParent)
{
    const std::string longMark = "[S]" + std::string(70, 'x'); // begins with the mark but is not it
    const std::pair<std::string, int> cases[] = {
        {"[A]\r\nPARENT=[S]\r\n", kReadBadLine}, {"[MISC]\r\nBIOSSTR=[S]\r\n", kReadBadLine},
        {"[A]\r\nparen=[S]", kReadBadLine},       {"[A]\r\nPARENT=[s]\r\n", 0},
        {"[A]\r\nPARENT=" + longMark, 0},
    };
    for (const auto& [bytes, status] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(Parse(bytes).status, status); // Parse also fails for a second node with the parent "[S]"
    }
}

TEST_F(ConfigOnDisk, StatusesOfReadConfigFile)
{
    EXPECT_EQ(ReadConfigFile(dir_ + "/missing.ini").status, kReadCannotOpen);
    EXPECT_EQ(ReadConfigFile(dir_).status, kReadCannotOpen); // a folder
    EXPECT_EQ(ReadConfigFile(Put("empty.ini", "")).status, kReadNoSection);
    EXPECT_EQ(ReadConfigFile(Put("notes.ini", ";a\r\n\r\n; b\r\n")).status, kReadNoSection);
    EXPECT_EQ(ReadConfigFile(Put("bad.ini", "[A]\r\nPARENT=x\r\nTITL=x\r\n")).status, kReadBadLine);
    for (const char* file : {"missing.ini", "empty.ini", "notes.ini", "bad.ini"})
        EXPECT_EQ(ReadConfigFile(dir_ + "/" + file).ring, nullptr);
}

const std::vector<Section> kExampleRing = {
    {"GENERAL", "GENERAL", "Welcome", "Pick one\r\nand press Enter", "C:\\LOGO.PCX"},
    {"X1", "MISC", "", nullopt, nullopt},
    {"Velmora Products", "Tools", "Tools", nullopt, "TOOLS.BAT"},
};

const std::string kExampleBytes = "[GENERAL]\r\n"
                                  "PARENT=GENERAL\r\n"
                                  "TITLE=Welcome\r\n"
                                  "PATH=C:\\LOGO.PCX\r\n"
                                  "DESCRIPTION=Pick one\r\rand press Enter\r\n"
                                  "\r\n"
                                  "[MISC]\r\n"
                                  "BIOSSTR=X1\r\n"
                                  "\r\n"
                                  "[Tools]\r\n"
                                  "PARENT=Velmora Products\r\n"
                                  "TITLE=Tools\r\n"
                                  "PATH=TOOLS.BAT\r\n"
                                  "DESCRIPTION=\r\n"
                                  "\r\n";

TEST_F(ConfigOnDisk, ExampleConfigurationIsWrittenByteForByteAndReadBack)
{
    Ring ring = MakeRing(kExampleRing);
    const std::string path = dir_ + "/MENU.ini";
    ASSERT_TRUE(WriteConfigFile(path, ring->next->next)); // any node of the ring will do
    EXPECT_EQ(Bytes("MENU.ini"), kExampleBytes);
    EXPECT_EQ(SectionsOf(ring.get()), kExampleRing); // the ring's own description keeps its CR LF

    ReadResult back = ReadConfigFile(path);
    ASSERT_EQ(back.status, 0);
    EXPECT_EQ(SectionsOf(back.ring), kExampleRing);
    FreeSectionRing(back.ring);
    EXPECT_EQ(Entries(), std::vector<std::string>{"MENU.ini"});
}

TEST(ConfigWrite, FormsOfSections)
{
    struct Case {
        Section section;
        std::string bytes;
    };
    const Case cases[] = {
        // Only "MISC" in capitals has the BIOSSTR form; "misc" is written like any other section.
        {{"X1", "misc", "", nullopt, nullopt}, "[misc]\r\nPARENT=X1\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=\r\n\r\n"},
        {{"", "", "", "", ""}, "[]\r\nPARENT=\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=\r\n\r\n"},
        {{"p", "A", "t", "one\ntwo\r\n", "a b"}, "[A]\r\nPARENT=p\r\nTITLE=t\r\nPATH=a b\r\nDESCRIPTION=one\rtwo\r\r\r\n\r\n"},
        {{"", "MISC", "lost", "lost", "lost"}, "[MISC]\r\nBIOSSTR=\r\n\r\n"},
    };
    for (const Case& c : cases) {
        Ring ring = MakeRing({c.section});
        std::string bytes;
        ASSERT_TRUE(ComposeConfigText(ring.get(), bytes));
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(SectionsOf(ring.get()), std::vector<Section>{c.section});
    }
}

TEST(ConfigWrite, LowerCaseMiscReadFromBiosStrComesBackWithAParentLine)
{
    ReadResult r = ParseConfigText("[misc]\r\nBIOSSTR=X1\r\n");
    std::string bytes;
    EXPECT_TRUE(ComposeConfigText(r.ring, bytes));
    EXPECT_EQ(bytes, "[misc]\r\nPARENT=X1\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=\r\n\r\n");
    FreeSectionRing(r.ring);
}

TEST_F(ConfigOnDisk, MissingNameRingOrSectionsWritesNothing)
{
    const std::string path = dir_ + "/MENU.ini";
    Ring empty = MakeRing({});
    Ring full = MakeRing(kExampleRing);
    std::string reason;
    EXPECT_FALSE(WriteConfigFile(path, empty.get(), &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(WriteConfigFile(path, nullptr));
    EXPECT_FALSE(WriteConfigFile("", full.get()));
    EXPECT_TRUE(Entries().empty());
}

// Values the file cannot carry are refused, and an older file stays as it was.
TEST_F(ConfigOnDisk, RefusesValuesTheFileCannotCarry)
{
    const std::string nul(1, '\0');
    const std::vector<std::function<void(SectionNode&)>> spoil = {
        [](SectionNode& n) { n.name = "a]b"; },
        [](SectionNode& n) { n.name = "a\nb"; },
        [&](SectionNode& n) { n.name = "a" + nul; },
        [](SectionNode& n) { n.parent = "p\n"; },
        [&](SectionNode& n) { n.parent = nul; },
        [](SectionNode& n) { n.title = "\nt"; },
        [](SectionNode& n) { n.path = "a\r\nb"; },
        [&](SectionNode& n) { n.path = "a" + nul + "b"; },
        [&](SectionNode& n) { n.description = "d" + nul; },
        [](SectionNode& n) { n.name = std::string(1021, 'n'); },        // [, 1021 bytes and ]
        [](SectionNode& n) { n.path = std::string(1018, 'p'); },        // PATH= and 1018 bytes
        [](SectionNode& n) { n.description = std::string(1011, 'd'); }, // DESCRIPTION= and 1011
        [](SectionNode& n) { n.name = "MISC"; n.parent = "b\nb"; },
        [](SectionNode& n) { n.name = "MISC"; n.parent = std::string(1015, 'b'); }, // BIOSSTR= and 1015
    };
    const std::string old = "[OLD]\r\n";
    for (std::size_t i = 0; i < spoil.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::string path = Put("MENU.ini", old);
        Ring ring = MakeRing(kExampleRing);
        spoil[i](*ring->next->next->next);
        std::string bytes, reason;
        EXPECT_FALSE(ComposeConfigText(ring.get(), bytes));
        EXPECT_FALSE(WriteConfigFile(path, ring.get(), &reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(Bytes("MENU.ini"), old);
        EXPECT_EQ(Entries(), std::vector<std::string>{"MENU.ini"});
    }
}

// The reader refuses a parent or BIOSSTR value of "[S]", so the writer must not write one.
TEST(ConfigWrite, RefusesAParentThatTheReaderRefuses)
{
    for (const char* name : {"MISC", "A"}) {
        SCOPED_TRACE(name);
        Ring ring = MakeRing({{"[S]", name, "", nullopt, nullopt}});
        std::string bytes, reason;
        EXPECT_FALSE(ComposeConfigText(ring.get(), bytes, &reason)) << "read back: " << Parse(bytes).status;
    }
}

TEST(ConfigWrite, LongestLinesAreWrittenAndReadBack)
{
    const std::vector<Section> sections = {
        {"p", "A", "t", std::string(1010, 'd'), std::string(1017, 'p')},
        {std::string(1014, 'b'), "MISC", "", nullopt, nullopt},
    };
    Ring ring = MakeRing(sections);
    std::string bytes;
    ASSERT_TRUE(ComposeConfigText(ring.get(), bytes));
    ReadResult back = ParseConfigText(bytes);
    ASSERT_EQ(back.status, 0);
    // The MISC value is held in the parent field, which keeps 63 bytes.
    std::vector<Section> expected = sections;
    expected[1].parent.resize(kFieldCapacity);
    EXPECT_EQ(SectionsOf(back.ring), expected);
    FreeSectionRing(back.ring);
}

// Random rings of values the file can carry: written, read and written again.
TEST(ConfigRoundTrip, RandomRingsSurviveWriteReadWrite)
{
    std::mt19937 rng(20240611u);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    // Any byte but NUL and LF, mostly printable, a few CRs among them; no "]" in a name.
    auto text = [&](int low, int high, bool name) {
        std::string s;
        for (int n = pick(low, high); n > 0;) {
            const int r = pick(0, 99);
            const int c = r < 20 ? pick(0x80, 0xFF) : r < 96 ? pick(0x20, 0x7E) : r < 98 ? '\r' : pick(1, 0x1F);
            if (c != '\n' && !(name && c == ']')) {
                s += static_cast<char>(c);
                --n;
            }
        }
        return s;
    };
    // Lines of printable bytes joined by CR LF; never empty.
    auto description = [&] {
        std::string d;
        for (int lines = pick(1, 5); lines > 0; --lines) {
            for (int n = pick(0, 150); n > 0; --n)
                d += static_cast<char>(pick(0, 9) == 0 ? pick(0x80, 0xFF) : pick(0x20, 0x7E));
            d += lines > 1 ? "\r\n" : "";
        }
        return d.empty() ? std::string("\r\n") : d;
    };

    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE("ring " + std::to_string(i));
        std::vector<Section> sections(static_cast<std::size_t>(pick(1, 8)));
        for (Section& s : sections) {
            const int kind = pick(0, 9);
            s.name = kind == 0 ? "MISC" : kind == 1 ? "GENERAL" : text(0, 63, true);
            s.parent = kind == 1 ? "GENERAL" : text(0, 63, false);
            if (s.parent == "[S]")
                s.parent = "S";
            if (kind == 0)
                continue; // MISC carries its BIOSSTR value alone
            s.title = text(0, 63, false);
            if (pick(0, 2) != 0)
                s.path = text(1, 300, false);
            if (pick(0, 2) != 0)
                s.description = description();
        }
        Ring ring = MakeRing(sections);
        std::string first, second;
        ASSERT_TRUE(ComposeConfigText(ring.get(), first));
        ReadResult back = ParseConfigText(first);
        ASSERT_EQ(back.status, 0);
        EXPECT_EQ(SectionsOf(back.ring), sections);
        EXPECT_TRUE(ComposeConfigText(back.ring, second));
        EXPECT_EQ(second, first);
        FreeSectionRing(back.ring);
    }
}

} // namespace
