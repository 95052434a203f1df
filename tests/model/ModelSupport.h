// Rings built from lists of sections, and read back into them, for the tests of the model.
#pragma once

#include "model/ConfigFile.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace vltest
{

using std::nullopt;
using Text = std::optional<std::string>;
using Ring = std::unique_ptr<vl::SectionNode, decltype([](vl::SectionNode* n) { vl::FreeSectionRing(n); })>;

struct Section {
    std::string parent, name, title;
    Text description = nullopt, path = nullopt;
    bool operator==(const Section&) const = default;
};
using Sections = std::vector<Section>;

inline void PrintTo(const Section& s, std::ostream* os)
{
    *os << testing::PrintToString(std::tie(s.parent, s.name, s.title, s.description, s.path));
}

inline Ring MakeRing(const Sections& sections)
{
    Ring ring(vl::CreateSectionNode(vl::kSentinelMark, vl::kSentinelMark, "", nullopt, nullopt));
    ring->next = ring.get();
    vl::SectionNode* last = ring.get();
    for (const Section& s : sections)
        last = vl::InsertSectionAfter(
            last, vl::CreateSectionNode(s.parent, s.name, s.title, s.description, s.path));
    return ring;
}

// The sections of a ring, from its sentinel; fails when the ring does not close or a second node
// looks like the sentinel.
inline Sections SectionsOf(const vl::SectionNode* sentinel)
{
    Sections out;
    const vl::SectionNode* n = sentinel->next;
    for (; n && n != sentinel && out.size() < 10000; n = n->next) {
        EXPECT_FALSE(vl::IsSentinel(n));
        out.push_back({n->parent, n->name, n->title, n->description, n->path});
    }
    EXPECT_EQ(n, sentinel) << "the ring is not closed";
    return out;
}

} // namespace vltest
