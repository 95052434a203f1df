// Reader and writer of the configuration file.
#include "ConfigFile.h"

#include "AtomicFile.h"
#include "CaseFold.h"
#include "TextMode.h"

#include <cerrno>

namespace vl {

namespace {

enum class LineKind { Header, Parent, Title, Description, Path, BiosStr, Ignored, Bad };

struct Key {
    std::string_view prefix; // compared ignoring letter case at the start of the line
    LineKind kind;
};

// In the order the rules are tried. The parent key is recognised by its first five letters.
constexpr Key kKeys[] = {
    {"PAREN", LineKind::Parent},           {"TITLE=", LineKind::Title},
    {"DESCRIPTION=", LineKind::Description}, {"PATH=", LineKind::Path},
    {"BIOSSTR=", LineKind::BiosStr},
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

ReadResult ParseConfigText(std::string_view bytes)
{
    const std::string text = FromFileText(bytes);
    SectionNode* sentinel = CreateSectionNode(kSentinelMark, kSentinelMark, "", std::nullopt, std::nullopt);
    sentinel->next = sentinel;
    SectionNode* current = sentinel;

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;

        if (line.size() > kMaxLineLength || line.find('\0') != std::string_view::npos)
            return Refuse(sentinel, current, kReadBadLine);

        const LineKind kind = Classify(line);
        if (kind == LineKind::Ignored)
            continue;
        if (kind == LineKind::Bad)
            return Refuse(sentinel, current, kReadBadLine);
        if (kind == LineKind::Header) {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                return Refuse(sentinel, current, kReadBadLine);
            SectionNode* node = CreateSectionNode("", line.substr(1, close - 1), "", std::nullopt, std::nullopt);
            InsertSectionAfter(current, node);
            current = node;
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
            SetField(current->parent, value);
            break;
        case LineKind::Title:
            SetField(current->title, value);
            break;
        case LineKind::Description:
            if (!value.empty())
                current->description = DescriptionFromFile(value);
            break;
        case LineKind::Path:
            if (!value.empty())
                current->path.emplace(value);
            break;
        default:
            break;
        }
    }

    current->next = sentinel;
    if (current == sentinel) {
        FreeSectionRing(sentinel);
        return {nullptr, kReadNoSection};
    }
    return {sentinel, 0};
}

ReadResult ReadConfigFile(const std::string& fileName)
{
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes))
        return {nullptr, kReadCannotOpen};
    return ParseConfigText(bytes);
}

namespace {

bool AppendLine(std::string& out, std::string_view key, std::string_view value, std::string* reason)
{
    if (key.size() + value.size() > kMaxLineLength) {
        if (reason)
            *reason = "A line would be longer than the launcher reads (1022 bytes).";
        return false;
    }
    if (value.find('\n') != std::string_view::npos || value.find('\0') != std::string_view::npos) {
        if (reason)
            *reason = "A one-line value holds a line break or a NUL byte.";
        return false;
    }
    out.append(key);
    out.append(value);
    out.push_back('\n');
    return true;
}

} // namespace

bool ComposeConfigText(const SectionNode* ring, std::string& bytes, std::string* reason)
{
    const SectionNode* sentinel = FindSentinel(ring);
    if (!sentinel || sentinel->next == sentinel) {
        if (reason)
            *reason = "The configuration holds no section.";
        return false;
    }
    std::string text;
    for (const SectionNode* node = sentinel->next; node != sentinel; node = node->next) {
        if (node->name.find(']') != std::string::npos) {
            if (reason)
                *reason = "A section name holds \"]\".";
            return false;
        }
        bool ok = AppendLine(text, "[", node->name + "]", reason);
        if (node->name == kMiscSection) {
            ok = ok && AppendLine(text, "BIOSSTR=", node->parent, reason);
        } else {
            ok = ok && AppendLine(text, "PARENT=", node->parent, reason) &&
                 AppendLine(text, "TITLE=", node->title, reason) &&
                 AppendLine(text, "PATH=", node->path.value_or(""), reason) &&
                 AppendLine(text, "DESCRIPTION=", DescriptionToFile(node->description.value_or("")), reason);
        }
        if (!ok)
            return false;
        text.push_back('\n');
    }
    bytes = ToFileText(text);
    return true;
}

bool WriteConfigFile(const std::string& fileName, const SectionNode* ring, std::string* reason)
{
    if (fileName.empty() || !ring) {
        if (reason)
            *reason = "No file name or no configuration.";
        return false;
    }
    std::string bytes;
    if (!ComposeConfigText(ring, bytes, reason))
        return false;
    return WriteFileAtomically(fileName, bytes, reason);
}

} // namespace vl
