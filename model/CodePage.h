// Windows-1252, the code page of the launcher's files, and the UTF-8 that Linux editors write instead.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vl
{

// The character of a Windows-1252 byte. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number, so every byte survives a
// load and a save.
char32_t Cp1252Char(unsigned char byte);
// The Windows-1252 byte of a character, or none when the code page has no byte for it.
std::optional<char> Cp1252Byte(char32_t character);

// The number of bytes of the UTF-8 character that starts at pos (with character, the character too),
// or 0 when the bytes there are no UTF-8 (a stray byte, a cut or over-long sequence, a surrogate).
std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, char32_t* character = nullptr);

// The byte-order mark that some editors put before UTF-8 text.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// What says that a file's bytes are UTF-8 rather than Windows-1252.
struct Utf8Signs {
    bool mark = false; // the bytes start with kUtf8Mark
    // After the mark, the first line (from 1, lines ending at LF) holding bytes above 0x7F, when every
    // such byte of the file reads as UTF-8; 0 when there is none, or when some byte does not.
    std::size_t firstLine = 0;
    bool Any() const { return mark || firstLine != 0; }
};
Utf8Signs FindUtf8(std::string_view bytes);

// UTF-8 bytes as Windows-1252, the mark dropped. None when they cannot be: badLine then receives the
// line that holds a character Windows-1252 has no byte for, or bytes that are no UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view bytes, std::size_t& badLine);

} // namespace vl
