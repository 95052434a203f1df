// Letter-case folding of Windows-1252 text, the one comparison used wherever letter case is ignored.
#pragma once

#include <string_view>

namespace vl
{

// Lower-case partner of a Windows-1252 byte: ASCII letters, the accented letters
// À–Þ (except ×), Š, Œ, Ž and Ÿ; every other byte is its own partner.
unsigned char FoldCase1252(unsigned char c);

// True when both texts are equal once each byte is folded.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// True when text begins with prefix, ignoring letter case.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

} // namespace vl
