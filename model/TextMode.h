// The CR LF rules of the files the launcher reads, kept in this one place.
#pragma once

#include <string>
#include <string_view>

namespace vl
{

// How every line of the launcher's files ends.
inline constexpr std::string_view kFileLineEnd = "\r\n";

// Writing: each LF becomes CR LF; a CR is written unchanged.
std::string ToFileText(std::string_view text);

// Reading: the line that starts at pos, without its end, and pos moved past that end. A CR directly
// followed by LF is read as a single LF, so it ends the line; any other CR stays in the line.
std::string_view NextFileLine(std::string_view bytes, std::size_t& pos);

} // namespace vl
