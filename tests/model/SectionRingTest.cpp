// Ring operations, handed every node of a ring in turn.
#include "model/SectionRing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vl;

struct RingDeleter {
    void operator()(SectionNode* node) const { FreeSectionRing(node); }
};
using Ring = std::unique_ptr<SectionNode, RingDeleter>;

using Entry = std::pair<std::string, std::string>; // parent, name

// A ring holding sections with these parents and names, in this order; the pointer is its sentinel.
Ring MakeRing(const std::vector<Entry>& entries)
{
    SectionNode* sentinel = CreateSectionNode(kSentinelMark, kSentinelMark, "", std::nullopt, std::nullopt);
    sentinel->next = sentinel;
    SectionNode* last = sentinel;
    for (const auto& [parent, name] : entries)
        last = InsertSectionAfter(last, CreateSectionNode(parent, name, "", std::nullopt, std::nullopt));
    return Ring(sentinel);
}

// The sentinel followed by every section, in ring order.
std::vector<SectionNode*> NodesOf(SectionNode* sentinel)
{
    std::vector<SectionNode*> nodes{sentinel};
    for (SectionNode* n = sentinel->next; n && n != sentinel && nodes.size() < 100; n = n->next)
        nodes.push_back(n);
    return nodes;
}

// Section names in ring order from the sentinel; "<broken>" when the walk does not come back.
std::vector<std::string> NamesOf(const SectionNode* sentinel)
{
    std::vector<std::string> names;
    const SectionNode* n = sentinel->next;
    for (; n && n != sentinel && names.size() < 100; n = n->next)
        names.push_back(n->name);
    if (n != sentinel)
        names.push_back("<broken>");
    return names;
}

using Names = std::vector<std::string>;

// Sections of the ring the lookups run on; the sentinel is node 0.
const std::vector<Entry> kLookupRing = {
    {"GENERAL", "GENERAL"},          {"X1", "MISC"},         {"Velmora Products", "Tools"},
    {"Tools", "Hammer"},             {"tools", "HAMMER"},    {"Velmora Products", "\xC9t\xE9"},
};

class RingFromEveryNode : public testing::TestWithParam<int> {};

TEST_P(RingFromEveryNode, LookupsGiveTheSameResultWhicheverNodeIsHanded)
{
    Ring ring = MakeRing(kLookupRing);
    const std::vector<SectionNode*> nodes = NodesOf(ring.get());
    ASSERT_EQ(nodes.size(), kLookupRing.size() + 1);
    SectionNode* start = nodes[static_cast<std::size_t>(GetParam())];

    EXPECT_EQ(FindSentinel(start), ring.get());
    EXPECT_EQ(FindSection(start, "general", "General"), nodes[1]);
    EXPECT_EQ(FindSection(start, "x1", "misc"), nodes[2]);
    EXPECT_EQ(FindSection(start, "VELMORA PRODUCTS", "tOOLS"), nodes[3]);
    // Of two sections that differ only in case, the first from the sentinel is found.
    EXPECT_EQ(FindSection(start, "TOOLS", "hammer"), nodes[4]);
    EXPECT_EQ(FindSection(start, "velmora products", "\xE9T\xC9"), nodes[6]);
    EXPECT_EQ(FindSection(start, "[S]", "[S]"), nullptr);
    EXPECT_EQ(FindSection(start, "Tools", "Hamme"), nullptr);
    EXPECT_EQ(FindSection(start, "Velmora Products", "Hammer"), nullptr);
    EXPECT_TRUE(HasProductEntries(start));
    EXPECT_EQ(LastSection(start), nodes.back());

    // Releasing the ring through this node must release every node once (checked by the sanitizers).
    ring.release();
    FreeSectionRing(start);
}

INSTANTIATE_TEST_SUITE_P(AllNodes, RingFromEveryNode, testing::Range(0, 7));

TEST(FindSection, FoldsWindows1252Letters)
{
    struct Case {
        const char* stored;
        const char* searched;
        bool equal;
    };
    const Case cases[] = {
        {"A", "a", true},         {"Zebra", "zEBRA", true},  {"@", "`", false},        {"[", "{", false},
        {"\xC0", "\xE0", true},   {"\xC9", "\xE9", true},    {"\xDE", "\xFE", true},   {"\x8A", "\x9A", true},
        {"\x8C", "\x9C", true},   {"\x8E", "\x9E", true},    {"\x9F", "\xFF", true},   {"\xD7", "\xF7", false},
        {"\xDF", "\xFF", false},  {"\xBF", "\xDF", false},   {"ab", "abc", false},     {"abc", "ab", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.stored)) + " vs " + testing::PrintToString(c.searched));
        Ring ring = MakeRing({{"p", "x"}, {c.stored, c.stored}});
        EXPECT_EQ(FindSection(ring.get(), c.searched, c.searched), c.equal ? ring->next->next : nullptr);
        EXPECT_EQ(FindSection(ring.get(), c.stored, c.stored), ring->next->next);
    }
}

TEST(HasProductEntries, LooksForTheProductHeadingIgnoringCase)
{
    const std::pair<std::vector<Entry>, bool> cases[] = {
        {{}, false},
        {{{"velmora products", "A"}}, true},
        {{{"GENERAL", "GENERAL"}, {"VELMORA PRODUCTS", "A"}}, true},
        {{{"GENERAL", "GENERAL"}, {"Velmora Product", "A"}}, false},
        {{{"Velmora Products ", "A"}}, false},
        {{{"A", "Velmora Products"}}, false},
    };
    for (const auto& [entries, expected] : cases) {
        Ring ring = MakeRing(entries);
        for (SectionNode* node : NodesOf(ring.get()))
            EXPECT_EQ(HasProductEntries(node), expected) << entries.size() << " sections";
    }
}

TEST(RemoveSection, OnlySectionLeavesAnEmptyRingAndGivesTheSentinel)
{
    Ring ring = MakeRing({{"GENERAL", "GENERAL"}});
    EXPECT_EQ(RemoveSection(ring.get(), ring->next), ring.get());
    EXPECT_EQ(ring->next, ring.get());
    EXPECT_FALSE(HasProductEntries(ring.get()));
    EXPECT_EQ(LastSection(ring.get()), ring.get());
}

// Every section removed through every node of the ring, the removed one included.
TEST(RemoveSection, AnySectionThroughAnyNodeGivesItsFollower)
{
    const Names all = {"A", "B", "C"};
    for (std::size_t from = 0; from <= all.size(); ++from) {
        for (std::size_t victim = 1; victim <= all.size(); ++victim) {
            SCOPED_TRACE("through node " + std::to_string(from) + ", removing node " + std::to_string(victim));
            Ring ring = MakeRing({{"p", "A"}, {"p", "B"}, {"p", "C"}});
            const std::vector<SectionNode*> nodes = NodesOf(ring.get());
            SectionNode* follower = victim == all.size() ? ring.get() : nodes[victim + 1];
            EXPECT_EQ(RemoveSection(nodes[from], nodes[victim]), follower);
            Names expected = all;
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(victim - 1));
            EXPECT_EQ(NamesOf(ring.get()), expected);
        }
    }
}

TEST(RemoveSection, RefusesTheSentinelForeignNodesAndNone)
{
    Ring ring = MakeRing({{"p", "A"}, {"p", "B"}});
    Ring other = MakeRing({{"p", "X"}});
    SectionNode* loose = CreateSectionNode("p", "L", "", std::nullopt, std::nullopt);
    for (SectionNode* from : NodesOf(ring.get())) {
        EXPECT_EQ(RemoveSection(from, ring.get()), nullptr);
        EXPECT_EQ(RemoveSection(from, other->next), nullptr);
        EXPECT_EQ(RemoveSection(from, loose), nullptr);
        EXPECT_EQ(RemoveSection(from, nullptr), nullptr);
    }
    EXPECT_EQ(RemoveSection(nullptr, ring->next), nullptr);
    EXPECT_EQ(NamesOf(ring.get()), (Names{"A", "B"}));
    EXPECT_EQ(NamesOf(other.get()), (Names{"X"}));
    EXPECT_EQ(loose->name, "L");
    delete loose;
}

TEST(InsertSectionAfter, LinksAfterTheGivenNodeOrChangesNothing)
{
    Ring ring = MakeRing({{"p", "B"}});
    SectionNode* b = ring->next;
    SectionNode* a = CreateSectionNode("p", "A", "", std::nullopt, std::nullopt);
    EXPECT_EQ(InsertSectionAfter(nullptr, a), nullptr);
    EXPECT_EQ(InsertSectionAfter(b, nullptr), nullptr);
    EXPECT_EQ(a->next, nullptr);
    EXPECT_EQ(NamesOf(ring.get()), (Names{"B"}));

    EXPECT_EQ(InsertSectionAfter(ring.get(), a), a); // after the sentinel: the first section
    EXPECT_EQ(InsertSectionAfter(b, CreateSectionNode("p", "C", "", "", "")), b->next); // after the last
    EXPECT_EQ(NamesOf(ring.get()), (Names{"A", "B", "C"}));
    EXPECT_EQ(LastSection(a)->name, "C");
}

// MoveSectionAfter over every pair of nodes of the ring S, A, B, C, D, against a list model.
TEST(MoveSectionAfter, EveryAnchorAndMovingPair)
{
    const Names start = {"A", "B", "C", "D"};
    for (std::size_t anchor = 0; anchor <= start.size(); ++anchor) {
        for (std::size_t moving = 0; moving <= start.size(); ++moving) {
            SCOPED_TRACE("anchor " + std::to_string(anchor) + ", moving " + std::to_string(moving));
            Ring ring = MakeRing({{"p", "A"}, {"p", "B"}, {"p", "C"}, {"p", "D"}});
            const std::vector<SectionNode*> nodes = NodesOf(ring.get());
            MoveSectionAfter(nodes[anchor], nodes[moving]);

            // The model: the cycle as names with the sentinel first; the sentinel never moves.
            Names model = {"[S]", "A", "B", "C", "D"};
            if (moving != 0 && moving != anchor) {
                const std::string moved = model[moving];
                const std::string after = model[anchor];
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(moving));
                auto at = std::find(model.begin(), model.end(), after);
                model.insert(at + 1, moved);
            }
            EXPECT_EQ(NamesOf(ring.get()), Names(model.begin() + 1, model.end()));
        }
    }
}

TEST(MoveSectionAfter, FirstAfterLastOfAMixedRing)
{
    Ring ring = MakeRing({{"P", "X"}, {"Q", "Z"}, {"P", "Y"}});
    SectionNode* x = FindSection(ring.get(), "P", "X");
    SectionNode* y = FindSection(ring.get(), "P", "Y");
    MoveSectionAfter(y, x);
    EXPECT_EQ(NamesOf(ring.get()), (Names{"Z", "Y", "X"}));
    EXPECT_EQ(LastSection(ring.get()), x);
}

TEST(MoveSectionAfter, NoneOrAForeignNodeChangesNothing)
{
    Ring ring = MakeRing({{"p", "A"}, {"p", "B"}});
    Ring other = MakeRing({{"p", "X"}, {"p", "Y"}});
    MoveSectionAfter(nullptr, ring->next);
    MoveSectionAfter(ring->next, nullptr);
    MoveSectionAfter(ring->next, other->next);
    MoveSectionAfter(other->next, ring->next);
    EXPECT_EQ(NamesOf(ring.get()), (Names{"A", "B"}));
    EXPECT_EQ(NamesOf(other.get()), (Names{"X", "Y"}));
    FreeSectionRing(nullptr); // nothing to release
}

} // namespace
