// The configuration in memory and in its file: the ring, letter case, the reader and the writer.
#include "ModelSupport.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace
{
using namespace vl;
using namespace vltest;

// Random inserts, removals and moves, each handed random nodes, against a list of the nodes; after
// every step the ring holds the list, and lookups through every node find the first matching section.
TEST(SectionRing, RandomEditsAgreeWithAList)
{
    std::mt19937 rng(7u);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const char* parents[] = {"Velmora Products", "VELMORA products", "Velmora Product", "p", "P",
                             "\xC9t\xE9"};
    const char* names[] = {"a", "A", "b", "\xC9T\xC9", "\xE9t\xE9", "\xD7", "\xF7", "\x8A", "\x9A"};
    auto same = [](std::string a, std::string b) { // the pools differ in ASCII case, E acute and S caron
        for (std::string* s : {&a, &b})
            for (char& c : *s)
                c = c == '\xC9'   ? '\xE9'
                    : c == '\x8A' ? '\x9A'
                                  : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return a == b;
    };
    for (int round = 0; round < 30; ++round) {
        Ring ring = MakeRing({});
        std::vector<SectionNode*> list; // the sections, in ring order
        for (int step = 0; step < 25; ++step) {
            std::vector<SectionNode*> nodes{ring.get()}; // the sentinel first
            nodes.insert(nodes.end(), list.begin(), list.end());
            const std::size_t at = pick(nodes.size()), from = pick(nodes.size());
            const auto place = [&](std::size_t i) { return list.begin() + static_cast<long>(i); };
            if (const std::size_t op = pick(3); op == 0) {
                SectionNode* node = CreateSectionNode(parents[pick(6)], names[pick(9)], "", nullopt, nullopt);
                EXPECT_EQ(InsertSectionAfter(nodes[at], node), node);
                list.insert(place(at), node);
            } else if (op == 1) { // the sentinel is never removed
                EXPECT_EQ(RemoveSection(nodes[from], nodes[at]), at == 0            ? nullptr
                                                                 : at < list.size() ? nodes[at + 1]
                                                                                    : ring.get());
                if (at != 0)
                    list.erase(place(at - 1));
            } else {
                MoveSectionAfter(nodes[at], nodes[from]);
                if (from != 0 && from != at) {
                    list.erase(place(from - 1));
                    list.insert(at == 0 ? list.begin() : std::find(list.begin(), list.end(), nodes[at]) + 1,
                                nodes[from]);
                }
            }
            std::vector<SectionNode*> walked;
            for (SectionNode* n = ring->next; n != ring.get() && walked.size() <= list.size(); n = n->next)
                walked.push_back(n);
            ASSERT_EQ(walked, list) << "round " << round << ", step " << step;
            const bool products = std::any_of(list.begin(), list.end(), [&](SectionNode* s) {
                return same(s->parent, "Velmora Products");
            });
            for (SectionNode* start : {ring.get(), list.empty() ? ring.get() : list.back()}) {
                EXPECT_EQ(FindSentinel(start), ring.get());
                EXPECT_EQ(LastSection(start), list.empty() ? ring.get() : list.back());
                EXPECT_EQ(HasProductEntries(start), products);
                for (SectionNode* wanted : list) {
                    auto first = std::find_if(list.begin(), list.end(), [&](SectionNode* s) {
                        return same(s->parent, wanted->parent) && same(s->name, wanted->name);
                    });
                    EXPECT_EQ(FindSection(start, wanted->parent, wanted->name), *first);
                }
            }
        }
    }
}

TEST(ConfigRead, WhatEachLineMakes)
{
    const std::string v70(70, 'v'), p1017(1017, 'p');
    const int bad = kReadBadLine;
    auto inA = [](const std::string& lines) { return "[A]\r\n" + lines; };
    auto A = [](std::string parent, std::string title = "", Text description = nullopt, Text path = nullopt) {
        return Sections{{parent, "A", title, description, path}};
    };
    const std::tuple<std::string, int, Sections> cases[] = {
        // clang-format off
        {inA("PARENTS=x\r\n"), 0, A("x")}, {inA("paren=a=b\r\n"), 0, A("a=b")}, {inA("title=x\r\n"), 0, A("", "x")},
        {inA("; c\r\n\r\n;\r\n"), 0, A("")}, {inA("TITL=x\r\n"), bad, {}}, {inA(" PARENT=x\r\n"), bad, {}},
        {inA("PARENT=p\r\nbiosstr=b\r\n"), 0, A("b")},
        {inA("DESCRIPTION=d\r\nDESCRIPTION=\r\nPATH=p\r\nPATH=\r\n"), 0, A("", "", "d", "p")},
        {inA("DESCRIPTION=a\r\rb\r\r\r\n"), 0, A("", "", "a\r\nb\r\n")}, {inA("DESCRIPTION=a\rb\r"), 0, A("", "", "a\rb\r")},
        {inA("TITLE=a\r\rb\n"), 0, A("", "a\r\rb")},
        {inA("PARENT=" + v70 + "\r\n"), 0, A(v70.substr(0, 63))},
        {inA("PATH=" + p1017), 0, A("", "", nullopt, p1017)}, {inA("PATH=" + p1017 + "p\r\n"), bad, {}},
        {inA(std::string("PARENT=a\0b\r\n", 11)), bad, {}}, {inA("PARENT=[S]\r\n"), bad, {}},
        {inA("BIOSSTR=[S]"), bad, {}}, {inA("PARENT=[s]\r\n"), 0, A("[s]")},
        {"[G] ; note\r\n[]\r\n[a]b]", 0, {{"", "G", ""}, {"", "", ""}, {"", "a", ""}}},
        {"; only\r\n\r\n", kReadNoSection, {}}, {"[A\r\n", bad, {}}, {"PATH=\r\n[A]\r\n", bad, {}},
        // clang-format on
    };
    for (const auto& [bytes, status, sections] : cases) {
        const ReadResult read = ParseConfigText(bytes);
        const Ring ring(read.ring);
        EXPECT_EQ(std::pair(read.status, ring ? SectionsOf(ring.get()) : Sections{}),
                  std::pair(status, sections))
            << bytes.substr(0, 40);
    }
}

TEST(ConfigWrite, FormsOfSectionsAndTheLongestLine)
{
    const std::string p1017(1017, 'p'), d1010(1010, 'd');
    const std::pair<Section, std::string> cases[] = {
        {{"X1", "misc", ""}, "[misc]\r\nPARENT=X1\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=\r\n\r\n"},
        {{"", "MISC", "lost", "lost", "lost"}, "[MISC]\r\nBIOSSTR=\r\n\r\n"},
        {{"p", "A", "t", "one\r\ntwo\n", p1017},
         "[A]\r\nPARENT=p\r\nTITLE=t\r\nPATH=" + p1017 + "\r\nDESCRIPTION=one\r\rtwo\r\r\n\r\n"},
        {{"p", "A", "", d1010}, "[A]\r\nPARENT=p\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=" + d1010 + "\r\n\r\n"},
    };
    for (const auto& [section, expected] : cases) {
        std::string bytes;
        ASSERT_TRUE(ComposeConfigText(MakeRing({section}).get(), bytes));
        EXPECT_EQ(bytes, expected);
    }
    // One byte more on any line is refused, and a parent the reader takes for the sentinel's.
    const Section bad[] = {{"p", "A", "", {}, p1017 + "p"}, {"p", "A", "", d1010 + "d"}, {"[S]", "A", ""}};
    for (const Section& section : bad) {
        std::string bytes;
        const Status refusal = ComposeConfigText(MakeRing({section}).get(), bytes);
        EXPECT_TRUE(!refusal && !refusal.Reason().empty());
    }
}

// Values of every length the writer copies differently, with bytes beside the refused ones and above
// ASCII: each goes out as it is (a description's LF as CR), and a refused byte at any place is refused.
TEST(ConfigWrite, EveryByteOfValuesOfEveryLength)
{
    const std::string pool = "a\x09\x0B\x0C\x0E\x01\x5C\x5E\x80\xE9\xFF";
    for (std::string v = "a"; v.size() <= 40; v += pool[(v.size() * 7) % pool.size()]) {
        for (std::size_t at = 0; at < v.size(); ++at) {
            const auto with = [&](char c) { return v.substr(0, at) + c + v.substr(at + 1); };
            std::string bytes;
            ASSERT_TRUE(ComposeConfigText(MakeRing({{with(']'), v, with('\r'), with('\n'), with(']')}}).get(),
                                          bytes));
            EXPECT_EQ(bytes, "[" + v + "]\r\nPARENT=" + with(']') + "\r\nTITLE=" + with('\r') +
                                 "\r\nPATH=" + with(']') + "\r\nDESCRIPTION=" + with('\r') + "\r\n\r\n")
                << v.size() << " " << at;
            // clang-format off
            const Section refused[] = {{v, with(']'), v}, {v, with('\r'), v}, {v, with('\n'), v}, {v, with('\0'), v},
                                       {with('\n'), v, v}, {v, v, with('\n')}, {v, v, v, nullopt, with('\n')},
                                       {v, v, v, with('\0')}, {with('\0'), "MISC", v}};
            // clang-format on
            for (const Section& section : refused)
                EXPECT_FALSE(ComposeConfigText(MakeRing({section}).get(), bytes)) << v.size() << " " << at;
        }
    }
}

// A save far larger than the writer's buffer holds every section once, in order; one refused in its
// last section, after several full buffers, leaves the file as it was.
TEST(ConfigWrite, SavesOfManySectionsHoldEachInOrder)
{
    std::string expected;
    for (int i = 0; i < 6000; ++i) {
        const std::string n = std::to_string(i), description(static_cast<std::size_t>(i % 300), 'd');
        expected += "[S" + n + "]\r\nPARENT=P" + n + "\r\nTITLE=T" + n + "\r\nPATH=X" + n +
                    "\r\nDESCRIPTION=" + description + "\r\n\r\n";
    }
    const std::string path = ::testing::TempDir() + "vl_many_sections.ini";
    const Ring ring(ParseConfigText(expected).ring);
    ASSERT_TRUE(WriteConfigFile(path, ring.get()));
    LastSection(ring.get())->title += '\0';
    EXPECT_EQ(WriteConfigFile(path, ring.get()).Reason(),
              "A one-line value holds a line break or a NUL byte.");
    std::string bytes;
    ASSERT_EQ(ReadRegularFile(path, bytes, kMaxConfigBytes), ReadOutcome::Read);
    std::remove(path.c_str());
    EXPECT_GT(bytes.size(), std::size_t(1) << 20);
    EXPECT_TRUE(bytes == expected);
}

} // namespace
