// Ring operations, handed every node of a ring in turn.
#include "model/SectionRing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{

using namespace vl;
using Ring = std::unique_ptr<SectionNode, decltype([](SectionNode* n) { FreeSectionRing(n); })>;
using Names = std::vector<std::string>;
using Entry = std::pair<std::string, std::string>; // parent, name

// A ring holding sections with these parents and names, in this order; the pointer is its sentinel.
Ring MakeRing(const std::vector<Entry>& entries)
{
    Ring ring(CreateSectionNode(kSentinelMark, kSentinelMark, "", std::nullopt, std::nullopt));
    ring->next = ring.get();
    SectionNode* last = ring.get();
    for (const auto& [parent, name] : entries)
        last = InsertSectionAfter(last, CreateSectionNode(parent, name, "", std::nullopt, std::nullopt));
    return ring;
}

// The sentinel, then every section in ring order; a null entry last when the walk does not come back.
std::vector<SectionNode*> NodesOf(SectionNode* sentinel)
{
    std::vector<SectionNode*> nodes{sentinel};
    SectionNode* n = sentinel->next;
    for (; n && n != sentinel && nodes.size() < 100; n = n->next)
        nodes.push_back(n);
    if (n != sentinel)
        nodes.push_back(nullptr);
    return nodes;
}

Names NamesOf(SectionNode* sentinel)
{
    Names names;
    for (const SectionNode* n : NodesOf(sentinel))
        if (n != sentinel)
            names.push_back(n ? n->name : "<broken>");
    return names;
}

// Lookups give the same result whichever node of the ring they are handed, and so does releasing it.
TEST(SectionRing, LookupsThroughEveryNode)
{
    const std::vector<Entry> entries = {
        {"GENERAL", "GENERAL"}, {"X1", "MISC"},      {"velmora PRODUCTS", "Tools"},
        {"Tools", "Hammer"},    {"tools", "HAMMER"}, {"VELMORA products", "\xC9t\xE9"},
    };
    for (std::size_t i = 0; i <= entries.size(); ++i) {
        SCOPED_TRACE("through node " + std::to_string(i));
        Ring ring = MakeRing(entries);
        const std::vector<SectionNode*> nodes = NodesOf(ring.get());
        ASSERT_EQ(nodes.size(), 7u);
        SectionNode* start = nodes[i];
        EXPECT_EQ(FindSentinel(start), ring.get());
        EXPECT_EQ(FindSection(start, "general", "General"), nodes[1]);
        EXPECT_EQ(FindSection(start, "x1", "misc"), nodes[2]);
        EXPECT_EQ(FindSection(start, "VELMORA PRODUCTS", "tOOLS"), nodes[3]);
        // Of two sections that differ only in case, the first from the sentinel is found.
        EXPECT_EQ(FindSection(start, "TOOLS", "hammer"), nodes[4]);
        EXPECT_EQ(FindSection(start, "velmora products", "\xE9T\xC9"), nodes[6]);
        EXPECT_EQ(FindSection(start, "[S]", "[S]"), nullptr);
        EXPECT_EQ(FindSection(start, "Velmora Products", "Hammer"), nullptr);
        EXPECT_TRUE(HasProductEntries(start)); // both product sections differ in case from the heading
        EXPECT_EQ(LastSection(start), nodes.back());
        // Every node is released once, whichever is handed (checked by the sanitizers).
        ring.release();
        FreeSectionRing(start);
    }
}

TEST(FindSection, FoldsWindows1252Letters)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"A", "a", true},        {"Zebra", "zEBRA", true}, {"@", "`", false},      {"[", "{", false},
        {"\xC0", "\xE0", true},  {"\xC9", "\xE9", true},   {"\xDE", "\xFE", true}, {"\x8A", "\x9A", true},
        {"\x8C", "\x9C", true},  {"\x8E", "\x9E", true},   {"\x9F", "\xFF", true}, {"\xD7", "\xF7", false},
        {"\xDF", "\xFF", false}, {"\xBF", "\xDF", false},  {"ab", "abc", false},   {"abc", "ab", false},
    };
    for (const auto& [stored, searched, equal] : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(stored)) + " vs " + testing::PrintToString(searched));
        Ring ring = MakeRing({{"p", "x"}, {stored, stored}});
        EXPECT_EQ(FindSection(ring.get(), searched, searched), equal ? ring->next->next : nullptr);
    }
}

// Every section of rings of one and of three sections removed through every node, itself included.
TEST(RemoveSection, AnySectionThroughAnyNodeGivesItsFollower)
{
    const std::vector<Entry> abc = {{"p", "A"}, {"p", "B"}, {"p", "C"}};
    for (std::size_t size : {1u, 3u}) {
        for (std::size_t from = 0; from <= size; ++from) {
            for (std::size_t victim = 1; victim <= size; ++victim) {
                SCOPED_TRACE(testing::Message()
                             << "size " << size << ", from " << from << ", victim " << victim);
                Ring ring = MakeRing({abc.begin(), abc.begin() + static_cast<std::ptrdiff_t>(size)});
                const std::vector<SectionNode*> nodes = NodesOf(ring.get());
                Names left = NamesOf(ring.get());
                SectionNode* follower = victim == size ? ring.get() : nodes[victim + 1];
                EXPECT_EQ(RemoveSection(nodes[from], nodes[victim]), follower);
                left.erase(left.begin() + static_cast<std::ptrdiff_t>(victim - 1));
                EXPECT_EQ(NamesOf(ring.get()), left);
                EXPECT_EQ(LastSection(ring.get())->name, left.empty() ? "[S]" : left.back());
            }
        }
    }
}

// The sentinel, a node of another ring, a node in no ring (loose, or linked only to itself) and none:
// nothing is found, removed, moved or inserted.
TEST(SectionRing, SentinelForeignLooseAndMissingNodesChangeNothing)
{
    Ring ring = MakeRing({{"p", "A"}, {"p", "B"}});
    // Parents and names that come close to the product heading without being a product section's parent.
    Ring other = MakeRing({{"Velmora Product", "X"}, {"Velmora Products ", "Y"}, {"p", "Velmora Products"}});
    EXPECT_FALSE(HasProductEntries(other->next->next));
    EXPECT_FALSE(HasProductEntries(MakeRing({}).get()));
    SectionNode* loose = CreateSectionNode("Velmora Products", "L", "", std::nullopt, std::nullopt);
    for (SectionNode* link : {static_cast<SectionNode*>(nullptr), loose}) {
        loose->next = link;
        EXPECT_EQ(FindSentinel(loose), nullptr);
        EXPECT_EQ(FindSection(loose, "Velmora Products", "L"), nullptr);
        EXPECT_FALSE(HasProductEntries(loose));
        EXPECT_EQ(LastSection(loose), nullptr);
        for (SectionNode* from : NodesOf(ring.get())) {
            EXPECT_EQ(RemoveSection(from, ring.get()), nullptr);
            EXPECT_EQ(RemoveSection(loose, from), nullptr);
            for (SectionNode* node : std::initializer_list<SectionNode*>{other->next, loose, nullptr}) {
                EXPECT_EQ(RemoveSection(from, node), nullptr);
                MoveSectionAfter(from, node);
                MoveSectionAfter(node, from);
            }
        }
        FreeSectionRing(loose); // in no ring: nothing is released
    }
    EXPECT_EQ(RemoveSection(nullptr, ring->next), nullptr);
    EXPECT_EQ(InsertSectionAfter(nullptr, loose), nullptr);
    EXPECT_EQ(InsertSectionAfter(ring->next, nullptr), nullptr);
    FreeSectionRing(nullptr);
    EXPECT_EQ(NamesOf(ring.get()), (Names{"A", "B"}));
    EXPECT_EQ(NamesOf(other.get()), (Names{"X", "Y", "Velmora Products"}));
    delete loose;
}

// MoveSectionAfter over every pair of nodes of the ring S, A, B, C, D, against a list model.
TEST(MoveSectionAfter, EveryAnchorAndMovingPair)
{
    for (std::size_t anchor = 0; anchor <= 4; ++anchor) {
        for (std::size_t moving = 0; moving <= 4; ++moving) {
            SCOPED_TRACE("anchor " + std::to_string(anchor) + ", moving " + std::to_string(moving));
            Ring ring = MakeRing({{"p", "A"}, {"p", "B"}, {"p", "C"}, {"p", "D"}});
            const std::vector<SectionNode*> nodes = NodesOf(ring.get());
            MoveSectionAfter(nodes[anchor], nodes[moving]);

            // The model: the cycle as names with the sentinel first; the sentinel never moves.
            Names model = {"[S]", "A", "B", "C", "D"};
            if (moving != 0 && moving != anchor) {
                const std::string moved = model[moving], after = model[anchor];
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(moving));
                model.insert(std::find(model.begin(), model.end(), after) + 1, moved);
            }
            EXPECT_EQ(NamesOf(ring.get()), Names(model.begin() + 1, model.end()));
        }
    }
}

TEST(MoveSectionAfter, FirstAfterLastOfAMixedRing)
{
    Ring ring = MakeRing({{"P", "X"}, {"Q", "Z"}, {"P", "Y"}});
    SectionNode* x = FindSection(ring.get(), "P", "X");
    MoveSectionAfter(FindSection(ring.get(), "P", "Y"), x);
    EXPECT_EQ(NamesOf(ring.get()), (Names{"Z", "Y", "X"}));
    EXPECT_EQ(LastSection(ring.get()), x);
}

} // namespace
