// Ring operations over SectionNode.
#include "SectionRing.h"

#include "CaseFold.h"

namespace vl
{

bool IsShownSection(const SectionNode& node)
{
    const bool general = node.name == kGeneralSection && node.parent == kGeneralSection;
    return !general && node.name != kMiscSection;
}

bool IsEntrySection(const SectionNode& node)
{
    return IsShownSection(node) && !node.name.empty();
}

void SetField(std::string& field, std::string_view text)
{
    field.assign(text.substr(0, kFieldCapacity));
}

SectionNode* CreateSectionNode(std::string_view parent, std::string_view name, std::string_view title,
                               std::optional<std::string_view> description,
                               std::optional<std::string_view> path)
{
    auto* node = new SectionNode;
    SetField(node->parent, parent);
    SetField(node->name, name);
    SetField(node->title, title);
    if (description)
        node->description.emplace(*description);
    if (path)
        node->path.emplace(*path);
    return node;
}

bool IsSentinel(const SectionNode* node)
{
    return node && node->parent == kSentinelMark;
}

SectionNode* FindSentinel(const SectionNode* node)
{
    // A ring has exactly one sentinel, so the walk ends within one turn; a chain that runs out
    // (a node not linked into a ring) has none.
    const SectionNode* start = node;
    while (node && !IsSentinel(node)) {
        node = node->next;
        if (node == start)
            return nullptr;
    }
    return const_cast<SectionNode*>(node);
}

void FreeSectionRing(SectionNode* ring)
{
    SectionNode* sentinel = FindSentinel(ring);
    if (!sentinel)
        return;
    while (sentinel->next && sentinel->next != sentinel) {
        SectionNode* taken = sentinel->next;
        sentinel->next = taken->next;
        delete taken;
    }
    delete sentinel;
}

SectionNode* FindSection(const SectionNode* ring, std::string_view parent, std::string_view name)
{
    const SectionNode* sentinel = FindSentinel(ring);
    if (!sentinel)
        return nullptr;
    for (SectionNode* node = sentinel->next; node && node != sentinel; node = node->next) {
        if (EqualsIgnoreCase(node->parent, parent) && EqualsIgnoreCase(node->name, name))
            return node;
    }
    return nullptr;
}

SectionNode* InsertSectionAfter(SectionNode* after, SectionNode* node)
{
    if (!after || !node)
        return nullptr;
    node->next = after->next;
    after->next = node;
    return node;
}

namespace
{

// The node whose next is target, found within one turn of the ring that ring belongs to.
SectionNode* Predecessor(SectionNode* ring, const SectionNode* target)
{
    SectionNode* node = ring;
    do {
        if (!node)
            return nullptr;
        if (node->next == target)
            return node;
        node = node->next;
    } while (node != ring);
    return nullptr;
}

} // namespace

SectionNode* RemoveSection(SectionNode* ring, SectionNode* node)
{
    if (!ring || !node || IsSentinel(node))
        return nullptr;
    SectionNode* before = Predecessor(ring, node);
    if (!before)
        return nullptr;
    before->next = node->next;
    delete node;
    return before->next;
}

bool HasProductEntries(const SectionNode* ring)
{
    const SectionNode* sentinel = FindSentinel(ring);
    if (!sentinel)
        return false;
    for (const SectionNode* node = sentinel->next; node && node != sentinel; node = node->next) {
        if (EqualsIgnoreCase(node->parent, kProductHeading))
            return true;
    }
    return false;
}

void MoveSectionAfter(SectionNode* anchor, SectionNode* moving)
{
    if (!anchor || !moving || anchor == moving || IsSentinel(moving) || anchor->next == moving)
        return;
    SectionNode* before = Predecessor(anchor, moving);
    if (!before)
        return; // not in the anchor's ring
    before->next = moving->next;
    moving->next = anchor->next;
    anchor->next = moving;
}

SectionNode* LastSection(const SectionNode* ring)
{
    SectionNode* sentinel = FindSentinel(ring);
    if (!sentinel)
        return nullptr;
    SectionNode* node = sentinel;
    while (node->next && node->next != sentinel)
        node = node->next;
    return node;
}

} // namespace vl
