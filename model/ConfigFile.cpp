// Reader and writer of the configuration file.
#include "ConfigFile.h"

#include "AtomicFile.h"
#include "CaseFold.h"
#include "TextMode.h"

#include <cerrno>

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

// Composes the file's lines with their CR LF ends, checking that each stays a line the launcher takes.
class LineWriter
{
  public:
    LineWriter(std::string& out, std::string* reason) : m_out(out), m_reason(reason) {}

    // key, then the parts of the value; false when they would not make one line of at most 1022 bytes.
    bool Line(std::string_view key, std::string_view value, std::string_view tail = {})
    {
        if (key.size() + value.size() + tail.size() > kMaxLineLength)
            return Refuse("A line would be longer than the launcher reads (1022 bytes).");
        if (!Carriable(value) || !Carriable(tail))
            return Refuse("A one-line value holds a line break or a NUL byte.");
        m_out.append(key).append(value).append(tail).append(kFileLineEnd);
        return true;
    }

    // A description line: its line breaks become the file's CR CR form.
    bool DescriptionLine(std::string_view description)
    {
        constexpr std::string_view key = "DESCRIPTION=";
        if (key.size() + description.size() > kMaxLineLength)
            return Refuse("A line would be longer than the launcher reads (1022 bytes).");
        if (description.find('\0') != std::string_view::npos)
            return Refuse("A one-line value holds a line break or a NUL byte.");
        const std::size_t start = m_out.size() + key.size();
        m_out.append(key).append(description);
        for (std::size_t i = start; (i = m_out.find('\n', i)) != std::string::npos; ++i)
            m_out[i] = '\r';
        m_out.append(kFileLineEnd);
        return true;
    }

    void EmptyLine() { m_out.append(kFileLineEnd); }

    bool Refuse(const char* why)
    {
        if (m_reason)
            *m_reason = why;
        return false;
    }

  private:
    static bool Carriable(std::string_view v)
    {
        return v.find('\n') == std::string_view::npos && v.find('\0') == std::string_view::npos;
    }

    std::string& m_out;
    std::string* m_reason;
};

std::string_view TextOrEmpty(const std::optional<std::string>& text)
{
    return text ? std::string_view(*text) : std::string_view();
}

} // namespace

bool ComposeConfigText(const SectionNode* ring, std::string& bytes, std::string* reason)
{
    const SectionNode* sentinel = FindSentinel(ring);
    std::string text;
    LineWriter out(text, reason);
    if (!sentinel || sentinel->next == sentinel)
        return out.Refuse("The configuration holds no section.");

    std::size_t estimate = 0;
    for (const SectionNode* node = sentinel->next; node != sentinel; node = node->next)
        estimate += 64 + node->name.size() + node->parent.size() + node->title.size() +
                    TextOrEmpty(node->path).size() + TextOrEmpty(node->description).size();
    text.reserve(estimate);

    for (const SectionNode* node = sentinel->next; node != sentinel; node = node->next) {
        if (node->name.find(']') != std::string::npos)
            return out.Refuse("A section name holds \"]\".");
        // The reader refuses a header holding a CR, so a name with one could not be read back.
        if (node->name.find('\r') != std::string::npos)
            return out.Refuse("A one-line value holds a line break or a NUL byte.");
        if (node->parent == kSentinelMark)
            return out.Refuse("A parent or BIOSSTR value of \"[S]\" cannot be read back.");
        bool ok = out.Line("[", node->name, "]");
        if (node->name == kMiscSection) {
            ok = ok && out.Line("BIOSSTR=", node->parent);
        } else {
            ok = ok && out.Line("PARENT=", node->parent) && out.Line("TITLE=", node->title) &&
                 out.Line("PATH=", TextOrEmpty(node->path)) &&
                 out.DescriptionLine(TextOrEmpty(node->description));
        }
        if (!ok)
            return false;
        out.EmptyLine();
    }
    bytes = std::move(text);
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
