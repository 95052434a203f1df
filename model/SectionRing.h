// The in-memory configuration: one SectionNode per section, in a circular list closed by a sentinel.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vl
{

// Capacity of the parent, name and title fields, in bytes; longer texts are cut.
inline constexpr std::size_t kFieldCapacity = 63;

inline constexpr std::string_view kSentinelMark = "[S]";
inline constexpr std::string_view kGeneralSection = "GENERAL";
inline constexpr std::string_view kMiscSection = "MISC";
inline constexpr std::string_view kProductHeading = "Velmora Products";

struct SectionNode {
    std::string parent; // at most kFieldCapacity bytes; BIOSSTR value for "MISC"; "[S]" for the sentinel
    std::string name;   // at most kFieldCapacity bytes
    std::string title;  // at most kFieldCapacity bytes
    std::optional<std::string> description; // line breaks held as CR LF
    std::optional<std::string> path;
    SectionNode* next = nullptr;
};

// Whether the Product page shows a section: every section but the general one (parent and name
// exactly "GENERAL") and the one named exactly "MISC".
bool IsShownSection(const SectionNode& node);
// Whether a section is a menu entry, which the launcher numbers and the batch file labels: a shown
// section with a name (a nameless one only gives the Product page its group).
bool IsEntrySection(const SectionNode& node);

// Copies text into a fixed-capacity field, cutting it at kFieldCapacity bytes.
void SetField(std::string& field, std::string_view text);

// A new, unlinked node holding copies of the texts (parent, name and title cut to capacity).
SectionNode* CreateSectionNode(std::string_view parent, std::string_view name, std::string_view title,
                               std::optional<std::string_view> description,
                               std::optional<std::string_view> path);

// The sentinel of the ring that node belongs to; none for a node that is in no ring.
SectionNode* FindSentinel(const SectionNode* node);
bool IsSentinel(const SectionNode* node);

// Releases every node of the ring, whichever node is given; nothing for none.
void FreeSectionRing(SectionNode* ring);

// First section whose parent and name equal the given texts, ignoring letter case; never the sentinel.
SectionNode* FindSection(const SectionNode* ring, std::string_view parent, std::string_view name);

// Links node directly after `after`; gives node, or none (changing nothing) when either is missing.
SectionNode* InsertSectionAfter(SectionNode* after, SectionNode* node);

// Unlinks and releases node; gives the node that followed it. Removing the sentinel, or a node that
// is not in the ring, changes nothing and gives none.
SectionNode* RemoveSection(SectionNode* ring, SectionNode* node);

// True when some section's parent is the product heading, ignoring letter case.
bool HasProductEntries(const SectionNode* ring);

// Unlinks moving and links it again directly after anchor; every other node keeps its place.
// Nothing happens when either is none, both are the same node, or moving is the sentinel.
void MoveSectionAfter(SectionNode* anchor, SectionNode* moving);

// The section whose next is the sentinel (the sentinel itself for an empty ring).
SectionNode* LastSection(const SectionNode* ring);

} // namespace vl
