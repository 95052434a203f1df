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

// Reading: a CR directly followed by LF is read as a single LF; any other CR stays.
std::string FromFileText(std::string_view bytes);

} // namespace vl
