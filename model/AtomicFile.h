// Replacing a file so that a failed save never leaves it half-written.
#pragma once

#include <string>
#include <string_view>

namespace vl
{

// Writes bytes to a temporary file in the target's folder, checks every write, syncs and closes it,
// then renames it over the target. An existing target keeps its permission bits; a symbolic link is
// followed and its target replaced. On failure the old file is untouched, no temporary file is
// left, and reason (when given) receives the system's description of what went wrong.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace vl
