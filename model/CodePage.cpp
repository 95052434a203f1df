// Windows-1252 and UTF-8.
#include "CodePage.h"

#include <algorithm>
#include <array>

namespace vl
{

namespace
{

// Characters of the bytes 0x80 to 0x9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::size_t LineAt(std::string_view bytes, std::size_t pos)
{
    return 1 + static_cast<std::size_t>(
                   std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

} // namespace

char32_t Cp1252Char(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : char32_t(byte);
}

std::optional<char> Cp1252Byte(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(character);
    const auto found = std::find(kHigh.begin(), kHigh.end(), character);
    if (found == kHigh.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - kHigh.begin()));
}

std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t* character)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (character)
        *character = lead;
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0; // below it the sequence is over-long
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - pos < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[pos + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    if (character)
        *character = c;
    return length;
}

Utf8Signs FindUtf8(std::string_view bytes)
{
    Utf8Signs signs;
    signs.mark = bytes.starts_with(kUtf8Mark);
    std::size_t first = std::string_view::npos;
    for (std::size_t pos = signs.mark ? kUtf8Mark.size() : 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = DecodeUtf8(bytes, pos);
        if (length == 0)
            return signs;
        first = std::min(first, pos);
        pos += length;
    }
    if (first != std::string_view::npos)
        signs.firstLine = LineAt(bytes, first);
    return signs;
}

std::optional<std::string> Utf8ToCp1252(std::string_view bytes, std::size_t& badLine)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0; pos < bytes.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(bytes, pos, &c);
        const std::optional<char> byte = length ? Cp1252Byte(c) : std::nullopt;
        if (!byte) {
            badLine = LineAt(bytes, pos);
            return std::nullopt;
        }
        out.push_back(*byte);
        pos += length;
    }
    return out;
}

} // namespace vl
