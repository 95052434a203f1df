// Exact conversion between Windows-1252 bytes and QString.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace platform
{

// Every byte maps to one character; the five undefined bytes map to the control characters of the
// same number, so every byte survives a load and a save.
QString FromCp1252(std::string_view bytes);

// The bytes of text, or none when some character has no Windows-1252 byte.
std::optional<std::string> ToCp1252(const QString& text);

// Whether one character has a Windows-1252 byte.
bool IsCp1252(QChar c);

} // namespace platform
