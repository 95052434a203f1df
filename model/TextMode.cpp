// The CR LF rules of the files the launcher reads.
#include "TextMode.h"

#include <algorithm>

namespace vl
{

std::string ToFileText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    for (char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::string_view NextFileLine(std::string_view bytes, std::size_t& pos)
{
    const std::size_t start = pos;
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) {
        pos = bytes.size();
        return bytes.substr(start);
    }
    pos = end + 1;
    if (end > start && bytes[end - 1] == '\r')
        --end;
    return bytes.substr(start, end - start);
}

} // namespace vl
