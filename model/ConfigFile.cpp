// Reader and writer of the configuration file.
#include "ConfigFile.h"

#include "AtomicFile.h"
#include "CaseFold.h"
#include "TextMode.h"

namespace vl
{

namespace
{

enum class LineKind { Header, Parent, Title, Description, Path, BiosStr, Ignored, Bad };

struct Key {
    std::string_view prefix; // compared ignoring letter case at the start of the line
    LineKind kind;
};

// In the order the rules are tried. The parent key is recognised by its first five letters.
constexpr Key kKeys[] = {
    {"PAREN", LineKind::Parent}, {"TITLE=", LineKind::Title},     {"DESCRIPTION=", LineKind::Description},
    {"PATH=", LineKind::Path},   {"BIOSSTR=", LineKind::BiosStr},
};

LineKind Classify(std::string_view line)
{
    if (!line.empty() && line[0] == '[')
        return LineKind::Header;
    for (const Key& key : kKeys) {
        if (StartsWithIgnoreCase(line, key.prefix))
            return key.kind;
    }
    if (line.empty() || line[0] == ';')
        return LineKind::Ignored;
    return LineKind::Bad;
}

ReadResult Refuse(SectionNode* sentinel, SectionNode* current, int status)
{
    current->next = sentinel;
    FreeSectionRing(sentinel);
    return {nullptr, status};
}

} // namespace

std::string DescriptionFromFile(std::string_view value)
{
    std::string out(value);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == '\r' && out[i + 1] == '\r') {
            out[i + 1] = '\n';
            ++i;
        }
    }
    return out;
}

std::string DescriptionToFile(std::string_view description)
{
    std::string out(description);
    for (char& c : out) {
        if (c == '\n')
            c = '\r';
    }
    return out;
}

ReadResult ParseConfigText(std::string_view bytes, ReadLines* lines)
{
    std::size_t lineNumber = 0;
    SectionNode* sentinel = CreateSectionNode(kSentinelMark, kSentinelMark, "", std::nullopt, std::nullopt);
    sentinel->next = sentinel;
    SectionNode* current = sentinel;
    if (lines)
        *lines = {};
    // Where the current section's fields came from, when asked.
    SectionLines* at = nullptr;

    // One pass over the bytes, line by line, ending at the first line refused.
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::string_view line = NextFileLine(bytes, pos);
        // Kept up to date so that whichever check below refuses the line, its number is known.
        ++lineNumber;
        if (lines)
            lines->refused = lineNumber;

        if (line.size() > kMaxLineLength || line.find('\0') != std::string_view::npos)
            return Refuse(sentinel, current, kReadBadLine);

        const LineKind kind = Classify(line);
        if (kind == LineKind::Ignored)
            continue;
        if (kind == LineKind::Bad)
            return Refuse(sentinel, current, kReadBadLine);
        if (kind == LineKind::Header) {
            // A header holding a CR is a file with CR-only line ends (an old Mac editor's): taken as
            // one header, everything after it would be lost.
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos || line.find('\r') != std::string_view::npos)
                return Refuse(sentinel, current, kReadBadLine);
            SectionNode* node =
                CreateSectionNode("", line.substr(1, close - 1), "", std::nullopt, std::nullopt);
            InsertSectionAfter(current, node);
            current = node;
            if (lines) {
                at = &lines->sections.emplace_back();
                at->header = lineNumber;
            }
            continue;
        }
        // A key line: it needs a section to belong to, and a value after its "=".
        const std::size_t equals = line.find('=');
        if (current == sentinel || equals == std::string_view::npos)
            return Refuse(sentinel, current, kReadBadLine);
        const std::string_view value = line.substr(equals + 1);
        switch (kind) {
        case LineKind::Parent:
        case LineKind::BiosStr:
            // Only the sentinel may carry this mark; a section holding it would be taken for it.
            if (value.substr(0, kFieldCapacity) == kSentinelMark)
                return Refuse(sentinel, current, kReadBadLine);
            SetField(current->parent, value);
            break;
        case LineKind::Title:
            SetField(current->title, value);
            if (at) {
                at->title = lineNumber;
                at->titleInFile = value;
            }
            break;
        case LineKind::Description:
            // A section has a description only once a line with text came.
            if (at && (!value.empty() || !current->description))
                at->description = lineNumber;
            if (!value.empty())
                current->description = DescriptionFromFile(value);
            break;
        case LineKind::Path:
            if (at && (!value.empty() || !current->path))
                at->path = lineNumber;
            if (!value.empty())
                current->path.emplace(value);
            break;
        default:
            break;
        }
    }

    current->next = sentinel;
    if (lines)
        lines->refused = 0;
    if (current == sentinel) {
        FreeSectionRing(sentinel);
        return {nullptr, kReadNoSection};
    }
    return {sentinel, 0};
}

int ReadConfigBytes(const std::string& fileName, std::string& bytes)
{
    switch (ReadRegularFile(fileName, bytes, kMaxConfigBytes)) {
    case ReadOutcome::Read:
        return 0;
    case ReadOutcome::TooLarge:
        return kReadBadLine;
    case ReadOutcome::CannotOpen:
        break;
    }
    return kReadCannotOpen;
}

ReadResult ReadConfigFile(const std::string& fileName)
{
    std::string bytes;
    const int status = ReadConfigBytes(fileName, bytes);
    return status == 0 ? ParseConfigText(bytes) : ReadResult{nullptr, status};
}

namespace
{

constexpr const char* kTooLong = "A line would be longer than the launcher reads (1022 bytes).";
constexpr const char* kBreakOrNul = "A one-line value holds a line break or a NUL byte.";

std::string_view TextOrEmpty(const std::optional<std::string>& text)
{
    return text ? std::string_view(*text) : std::string_view();
}

// Why a key and its value make no line the launcher takes (over 1022 bytes, a line break in a
// one-line value, a NUL byte in any), or none. Every value of a save passes here, so no outcome is
// built for the values that pass.
const char* LineProblem(std::string_view key, std::string_view value, bool oneLine = true)
{
    if (key.size() + value.size() > kMaxLineLength)
        return kTooLong;
    if (value.find('\0') != std::string_view::npos || (oneLine && value.find('\n') != std::string_view::npos))
        return kBreakOrNul;
    return nullptr;
}

// A description's line breaks (CR LF) in the file's form, CR CR: only the LF changes.
template <class Out> void AddDescription(std::string_view description, Out& out)
{
    for (std::size_t lf; (lf = description.find('\n')) != std::string_view::npos;
         description.remove_prefix(lf + 1)) {
        out.Add(description.substr(0, lf));
        out.Add("\r");
    }
    out.Add(description);
}

// Whether the file can carry a section, each of its lines taken by the launcher and read back alike.
const char* SectionProblem(const SectionNode& node)
{
    if (node.name.find(']') != std::string::npos)
        return "A section name holds \"]\".";
    // The reader refuses a header holding a CR, so a name with one could not be read back.
    if (node.name.find('\r') != std::string::npos)
        return kBreakOrNul;
    if (node.parent == kSentinelMark)
        return "A parent or BIOSSTR value of \"[S]\" cannot be read back.";
    const char* problem = LineProblem("[]", node.name);
    if (node.name == kMiscSection)
        return problem ? problem : LineProblem("BIOSSTR=", node.parent);
    for (const auto& [key, value, oneLine] :
         {std::tuple{"PARENT=", std::string_view(node.parent), true},
          std::tuple{"TITLE=", std::string_view(node.title), true},
          std::tuple{"PATH=", TextOrEmpty(node.path), true},
          std::tuple{"DESCRIPTION=", TextOrEmpty(node.description), false}}) {
        if (!problem)
            problem = LineProblem(key, value, oneLine);
    }
    return problem;
}

Status CheckRing(const SectionNode* sentinel)
{
    if (!sentinel || sentinel->next == sentinel)
        return Status::Refusal("The configuration holds no section.");
    for (const SectionNode* node = sentinel->next; node != sentinel; node = node->next) {
        if (const char* problem = SectionProblem(*node))
            return Status::Refusal(problem);
    }
    return {};
}

// The lines of a checked ring with their CR LF ends, as pieces of the sections' own texts between
// constant ones.
template <class Out> void AddRing(const SectionNode* sentinel, Out& out)
{
    for (const SectionNode* node = sentinel->next; node != sentinel; node = node->next) {
        out.Add("[");
        out.Add(node->name);
        if (node->name == kMiscSection) {
            out.Add("]\r\nBIOSSTR=");
            out.Add(node->parent);
        } else {
            out.Add("]\r\nPARENT=");
            out.Add(node->parent);
            out.Add("\r\nTITLE=");
            out.Add(node->title);
            out.Add("\r\nPATH=");
            out.Add(TextOrEmpty(node->path));
            out.Add("\r\nDESCRIPTION=");
            AddDescription(TextOrEmpty(node->description), out);
        }
        out.Add("\r\n\r\n");
    }
}

} // namespace

Status ComposeConfigText(const SectionNode* ring, std::string& bytes)
{
    const SectionNode* sentinel = FindSentinel(ring);
    Status status = CheckRing(sentinel);
    if (!status)
        return status;
    struct {
        std::string text;
        void Add(std::string_view piece) { text.append(piece); }
    } composed;
    AddRing(sentinel, composed);
    bytes = std::move(composed.text);
    return status;
}

Status WriteConfigFile(const std::string& fileName, const SectionNode* ring)
{
    if (fileName.empty() || !ring)
        return Status::Refusal("No file name or no configuration.");
    const SectionNode* sentinel = FindSentinel(ring);
    if (Status status = CheckRing(sentinel); !status)
        return status;
    return WriteFileAtomically(fileName, [sentinel](GatheringWriter& out) { AddRing(sentinel, out); });
}

} // namespace vl
