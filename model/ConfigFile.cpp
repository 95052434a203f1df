// Reader and writer of the configuration file.
#include "ConfigFile.h"

#include "AtomicFile.h"
#include "CaseFold.h"
#include "TextMode.h"

#include <cstdint>
#include <cstring>
#include <iterator>

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

// A section's lines as the file holds them. A save writes every byte of the file through here, so
// each value is copied in blocks of 16 bytes (fewer for a short one) and looked at in the same blocks
// for the bytes its line cannot carry, with no call per value.
class SectionText
{
  public:
    explicit SectionText(const SectionNode& node)
        : m_node(node), m_misc(node.name == kMiscSection), m_path(TextOrEmpty(node.path)),
          m_description(TextOrEmpty(node.description))
    {
        m_size = std::size("[]\r\n\r\n\r\n") - 1 + node.name.size() + node.parent.size();
        m_size += m_misc ? std::size("BIOSSTR=") - 1
                         : std::size("PARENT=\r\nTITLE=\r\nPATH=\r\nDESCRIPTION=") - 1 + node.title.size() +
                               m_path.size() + m_description.size();
    }

    std::size_t Size() const { return m_size; }

    // Why the file cannot carry the section, as far as the lengths of its lines and the sentinel's
    // mark tell: a line longer than the launcher reads, or a parent the reader takes for the sentinel.
    const char* FitProblem() const
    {
        const SectionNode& n = m_node;
        if (n.parent == kSentinelMark)
            return "A parent or BIOSSTR value of \"[S]\" cannot be read back.";
        // A line is its key (or a header's brackets) and its value.
        const auto fits = [](std::string_view key, std::string_view value) {
            return key.size() + value.size() <= kMaxLineLength;
        };
        bool fit = fits("[]", n.name);
        if (m_misc)
            fit = fit && fits("BIOSSTR=", n.parent);
        else
            fit = fit && fits("PARENT=", n.parent) && fits("TITLE=", n.title) && fits("PATH=", m_path) &&
                  fits("DESCRIPTION=", m_description);
        return fit ? nullptr : kTooLong;
    }

    // Writes the Size() bytes at out, the description's line breaks (CR LF) in the file's form, CR CR;
    // gives where they end, or none with the problem when a value holds a byte its line cannot carry:
    // a "]" in the section name, a line break in a one-line value or the name (a header holding a CR
    // would not be read back), a NUL byte in any.
    char* Put(char* out, const char*& problem) const
    {
        const SectionNode& n = m_node;
        Found found;
        char* at = Value<Kind::Name>(Constant(out, "["), n.name, found);
        if (m_misc) {
            at = Value<Kind::OneLine>(Constant(at, "]\r\nBIOSSTR="), n.parent, found);
        } else {
            at = Value<Kind::OneLine>(Constant(at, "]\r\nPARENT="), n.parent, found);
            at = Value<Kind::OneLine>(Constant(at, "\r\nTITLE="), n.title, found);
            at = Value<Kind::OneLine>(Constant(at, "\r\nPATH="), m_path, found);
            at = Value<Kind::Description>(Constant(at, "\r\nDESCRIPTION="), m_description, found);
        }
        at = Constant(at, "\r\n\r\n");
        if (Found::Any(found.bracket, found.bracketWord))
            problem = "A section name holds \"]\".";
        else if (Found::Any(found.other, found.otherWord))
            problem = kBreakOrNul;
        else
            return at;
        return nullptr;
    }

  private:
    using Block = unsigned char __attribute__((vector_size(16)));
    static constexpr std::size_t kBlock = sizeof(Block);

    // A section name holds no "]" and no line break, a one-line value no line break, no value a NUL
    // byte. A description's LFs become CRs.
    enum class Kind { Name, OneLine, Description };

    // Where a value's blocks or words held a "]" of a section name, and any other byte refused.
    struct Found {
        Block bracket{}, other{};
        std::uint64_t bracketWord = 0, otherWord = 0;
        static bool Any(const Block& block, std::uint64_t word)
        {
            std::uint64_t halves[2];
            std::memcpy(halves, &block, sizeof halves);
            return (halves[0] | halves[1] | word) != 0;
        }
    };

    template <std::size_t N> static char* Constant(char* out, const char (&text)[N])
    {
        std::memcpy(out, text, N - 1);
        return out + N - 1;
    }

    template <Kind K> static void TakeByte(char c, Found& found)
    {
        found.bracketWord |= K == Kind::Name && c == ']';
        found.otherWord |=
            c == '\0' || (K != Kind::Description && c == '\n') || (K == Kind::Name && c == '\r');
    }

    template <Kind K> static Block TakeBlock(Block block, Found& found)
    {
        Block refused = reinterpret_cast<Block>(block == 0);
        if constexpr (K != Kind::Description)
            refused |= reinterpret_cast<Block>(block == '\n');
        if constexpr (K == Kind::Name) {
            refused |= reinterpret_cast<Block>(block == '\r');
            found.bracket |= reinterpret_cast<Block>(block == ']');
        }
        found.other |= refused;
        if constexpr (K == Kind::Description)
            block += reinterpret_cast<Block>(block == '\n') & static_cast<unsigned char>('\r' - '\n');
        return block;
    }

    // Non-zero when some byte of a word equals c.
    template <class Word> static Word Holds(Word word, char c)
    {
        constexpr Word ones = Word(~Word(0)) / 0xFF;
        word ^= ones * static_cast<unsigned char>(c);
        return (word - ones) & ~word & (ones * 0x80);
    }

    template <Kind K, class Word> static void TakeWord(Word word, Found& found)
    {
        if constexpr (K == Kind::Name) {
            found.bracketWord |= Holds(word, ']');
            found.otherWord |= Holds(word, '\r');
        }
        found.otherWord |= Holds(word, '\0') | Holds(word, '\n');
    }

    // A value of one to two words: its first and last word, which may overlap.
    template <Kind K, class Word>
    static void CopyWords(char* out, const char* from, std::size_t n, Found& found)
    {
        Word head, tail;
        std::memcpy(&head, from, sizeof(Word));
        std::memcpy(&tail, from + n - sizeof(Word), sizeof(Word));
        TakeWord<K>(head, found);
        TakeWord<K>(tail, found);
        std::memcpy(out, &head, sizeof(Word));
        std::memcpy(out + n - sizeof(Word), &tail, sizeof(Word));
    }

    // Inline, so that each value's length and kind are known where it is put (a call per value costs
    // a tenth of the save's own time).
    template <Kind K>
    [[gnu::always_inline]] static char* Value(char* out, std::string_view value, Found& found)
    {
        const char* from = value.data();
        const std::size_t n = value.size();
        // Found in registers while the value's blocks are taken, not in memory through a reference.
        Found here;
        if (n >= kBlock) {
            // The last block may overlap the one before it: a byte taken twice comes out alike.
            const auto take = [&](std::size_t at) {
                Block block;
                std::memcpy(&block, from + at, kBlock);
                block = TakeBlock<K>(block, here);
                std::memcpy(out + at, &block, kBlock);
            };
            for (std::size_t at = 0; at + kBlock < n; at += kBlock)
                take(at);
            take(n - kBlock);
        } else if (K == Kind::Description || n < 4) {
            for (std::size_t i = 0; i < n; ++i) {
                TakeByte<K>(from[i], here);
                out[i] = K == Kind::Description && from[i] == '\n' ? '\r' : from[i];
            }
        } else if (n >= 8) {
            CopyWords<K, std::uint64_t>(out, from, n, here);
        } else {
            CopyWords<K, std::uint32_t>(out, from, n, here);
        }
        found.bracket |= here.bracket;
        found.other |= here.other;
        found.bracketWord |= here.bracketWord;
        found.otherWord |= here.otherWord;
        return out + n;
    }

    const SectionNode& m_node;
    bool m_misc;
    std::string_view m_path, m_description;
    std::size_t m_size;
};

// Puts the sections of a ring into the room out gives, as many as fit at a time; stops at the first
// section the file cannot carry, with its reason.
template <class Out> Status PutRing(const SectionNode* sentinel, Out& out)
{
    char* room = nullptr;
    std::size_t size = 0, used = 0;
    for (const SectionNode* node = sentinel->next; node != sentinel; node = node->next) {
        const SectionText text(*node);
        const char* problem = text.FitProblem();
        if (problem)
            return Status::Refusal(problem);
        if (text.Size() > size - used) {
            out.Commit(used);
            room = out.Room(size);
            used = 0;
            // Lines within the launcher's length make a section a few KiB at most.
            if (text.Size() > size)
                return Status::Refusal(kTooLong);
        }
        char* const end = text.Put(room + used, problem);
        if (!end)
            return Status::Refusal(problem);
        used = static_cast<std::size_t>(end - room);
    }
    out.Commit(used);
    return {};
}

Status RingProblem(const SectionNode* sentinel)
{
    if (!sentinel || sentinel->next == sentinel)
        return Status::Refusal("The configuration holds no section.");
    return {};
}

} // namespace

Status ComposeConfigText(const SectionNode* ring, std::string& bytes)
{
    const SectionNode* sentinel = FindSentinel(ring);
    Status status = RingProblem(sentinel);
    if (!status)
        return status;
    struct {
        std::string text;
        std::size_t used = 0;
        char* Room(std::size_t& size)
        {
            size = std::size_t(64) << 10;
            text.resize(used + size);
            return text.data() + used;
        }
        void Commit(std::size_t size) { used += size; }
    } composed;
    status = PutRing(sentinel, composed);
    if (status) {
        composed.text.resize(composed.used);
        bytes = std::move(composed.text);
    }
    return status;
}

Status WriteConfigFile(const std::string& fileName, const SectionNode* ring)
{
    if (fileName.empty() || !ring)
        return Status::Refusal("No file name or no configuration.");
    const SectionNode* sentinel = FindSentinel(ring);
    if (Status status = RingProblem(sentinel); !status)
        return status;
    return WriteFileAtomically(fileName, [sentinel](BufferedWriter& out) {
        if (Status refused = PutRing(sentinel, out); !refused)
            out.Fail(std::move(refused));
    });
}

} // namespace vl
