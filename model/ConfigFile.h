// Reading and writing the launcher's configuration file (.ini).
#pragma once

#include "AtomicFile.h"
#include "SectionRing.h"

#include <string>
#include <string_view>
#include <variant>

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

// Parses the bytes of a configuration file. With badLine, a refused read also tells the number
// (from 1) of the line that was refused, or 0 when no one line caused it.
ReadResult ParseConfigText(std::string_view bytes, std::size_t* badLine = nullptr);
// Anything but a regular file (a pipe, a device) cannot be opened; a file over kMaxConfigBytes is
// refused as a bad line before it is read. With bytesRead, the file's bytes as read are handed back too, for a caller that looks at its lines.
ReadResult ReadConfigFile(const std::string& fileName, std::size_t* badLine = nullptr,
                          std::string* bytesRead = nullptr);

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
