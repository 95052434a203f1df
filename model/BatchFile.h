// The launcher batch file written beside every saved configuration.
#pragma once

#include "AtomicFile.h"
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
// A refusal when the ring has no sections or the batch path would be the configuration itself (also
// through links or another name of the same file), the system's reason when the file cannot be
// written. Shows nothing.
Status WriteBatchFile(const std::string& configPath, const SectionNode* ring);

} // namespace vl
