// The launcher batch file written beside every saved configuration.
#pragma once

#include "SectionRing.h"

#include <string>
#include <string_view>

namespace vl
{

// The configuration's path with the extension of its file name replaced by ".bat" (".bat" appended
// when the file name has no extension). Both "/" and "\" separate folders.
std::string BatchPathFor(std::string_view configPath);

// The file name part of a path (after its last separator), or the whole path when that part is empty.
std::string ConfigFileNameOf(std::string_view configPath);

// The batch file's text, before the CR LF conversion; empty for a ring without sections.
std::string ComposeBatchText(std::string_view configFileName, const SectionNode* ring);

// Writes the batch file for the configuration saved at configPath, replacing any old one atomically.
// False when the ring has no sections, the batch path would be the configuration itself (also through
// links or another name of the same file), or the file cannot be written (reason, when given, says
// why). Shows nothing.
bool WriteBatchFile(const std::string& configPath, const SectionNode* ring, std::string* reason = nullptr);

} // namespace vl
