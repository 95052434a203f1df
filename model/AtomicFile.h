// Reading files that may be anything a path can name, and replacing files so that a failed save never
// leaves them half-written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vl
{

// Opens path for reading without waiting (a pipe without a writer) and without taking a terminal;
// gives the descriptor of a regular file, or -1 for anything else (a pipe, device, socket or folder,
// or a path that does not open). Nothing is read.
int OpenRegularFile(const std::string& path);

// Whether path opens for reading at all, asked without blocking; a folder does not count.
bool CanOpenForReading(const std::string& path);

enum class ReadOutcome { Read, CannotOpen, TooLarge };

// Reads the whole of a regular file of at most maxBytes. A larger file is refused before any of it is
// read; one that grows past maxBytes while it is read is refused as well.
ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes);

// Writes bytes into an unnamed file in the target's folder, checks every write and syncs it, then
// gives it a name only to rename it over the target, so a save killed at any moment leaves nothing
// behind. Symbolic links to regular files are followed and their target replaced; a link loop, a
// link that the protected-links rule of a sticky world-writable folder would not follow, and a
// target that is not a regular file fail. An existing target keeps its permission bits and owner, and
// is not replaced when its permission bits do not let the saving user write it. A target with other
// hard links is written in place, so that every name still shows one file. On failure the old file is
// untouched, no temporary file is left, and reason (when given) receives the system's description.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

// True when both paths name one existing file (same device and inode), links followed.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace vl
