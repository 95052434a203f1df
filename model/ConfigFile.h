// Reading and writing the launcher's configuration file (.ini).
#pragma once

#include "AtomicFile.h"
#include "SectionRing.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vl
{

// Statuses of ReadConfigFile.
enum ReadStatus : int {
    kReadCannotOpen = -1, // the file cannot be opened for reading
    kReadBadLine = -2,    // a line of no known kind, or one that cannot be taken safely
    kReadNoSection = -3,  // no section header at all
};

// The longest line the launcher takes, without its line end.
inline constexpr std::size_t kMaxLineLength = 1022;

// The largest file the reader takes; a larger one is refused (kReadBadLine) before it is read.
inline constexpr std::size_t kMaxConfigBytes = std::size_t(64) << 20;

// The result of a read: the new ring's sentinel, or a status.
struct ReadResult {
    SectionNode* ring = nullptr;
    int status = 0; // 0 with a ring, else one of ReadStatus
};

// Where a section read came from: the lines (from 1) of its header and of the key lines that gave its
// title, description and path, 0 when no line did. A description or path line without text counts
// only while no line with text came, as the reader then keeps the earlier text.
struct SectionLines {
    std::size_t header = 0;
    std::size_t title = 0;
    std::size_t description = 0;
    std::size_t path = 0;
    std::string_view titleInFile; // the title as the bytes hold it, before it was cut to the field
};

// What a read tells, besides the ring, to a caller that reports lines.
struct ReadLines {
    std::size_t refused = 0;            // the line a refused read stopped at; 0 when no one line caused it
    std::vector<SectionLines> sections; // in ring order
};

// Parses the bytes of a configuration file; with lines, also where each part came from (its views
// point into bytes).
ReadResult ParseConfigText(std::string_view bytes, ReadLines* lines = nullptr);
// The bytes of a configuration file: 0, or kReadCannotOpen for anything but a regular file (a pipe, a
// device), or kReadBadLine for a file over kMaxConfigBytes, refused before it is read.
int ReadConfigBytes(const std::string& fileName, std::string& bytes);
// ReadConfigBytes, then ParseConfigText.
ReadResult ReadConfigFile(const std::string& fileName);

// The bytes WriteConfigFile writes for a ring; a refusal for a ring that has no sections or holds a
// value the file cannot carry (a line break in a one-line value, an over-long line).
Status ComposeConfigText(const SectionNode* ring, std::string& bytes);

// Writes the ring to fileName, replacing it atomically, straight from the ring's texts. A refusal when
// the name or the ring is missing or ComposeConfigText would refuse, the system's reason when the file
// cannot be written; nothing is written then.
Status WriteConfigFile(const std::string& fileName, const SectionNode* ring);

// CR CR pairs (the file's form of a description's line break) to CR LF, and back.
std::string DescriptionFromFile(std::string_view value);
std::string DescriptionToFile(std::string_view description);

} // namespace vl
