// Exact conversion between Windows-1252 bytes and QString, over the core's one table.
#include "CodePage.h"

#include "model/CodePage.h"

namespace platform
{

QString FromCp1252(std::string_view bytes)
{
    QString text;
    text.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = text.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(static_cast<char16_t>(vl::Cp1252Char(static_cast<unsigned char>(bytes[i]))));
    return text;
}

std::optional<std::string> ToCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const auto b = vl::Cp1252Byte(c.unicode());
        if (!b)
            return std::nullopt;
        bytes.push_back(*b);
    }
    return bytes;
}

bool IsCp1252(QChar c)
{
    return vl::Cp1252Byte(c.unicode()).has_value();
}

} // namespace platform
