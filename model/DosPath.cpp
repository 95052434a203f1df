// The paths the launcher reads on its DOS medium.
#include "DosPath.h"

namespace vl
{

DosNameFault DosNameFaultOf(std::string_view name)
{
    // A byte above ASCII is refused too: it would name another letter in the launcher's code page
    // than in the configuration's, and a medium written on Linux keeps such a name only as a long
    // name that DOS does not see.
    const std::string_view refused = "\"*+,/:;<=>?[\\]|";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ')
            return DosNameFault::Blank;
        if (byte < 0x20 || byte >= 0x7F || refused.find(c) != std::string_view::npos)
            return DosNameFault::Character;
    }
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? "" : name.substr(dot + 1);
    const bool extensionFits =
        dot == std::string_view::npos ||
        (!extension.empty() && extension.size() <= 3 && extension.find('.') == std::string_view::npos);
    return base.empty() || base.size() > 8 || !extensionFits ? DosNameFault::Form : DosNameFault::None;
}

DosPath DosPathOf(std::string_view relative)
{
    DosPath result;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = relative.find_first_of("/\\", start);
        const std::string_view part = relative.substr(start, end - start);
        if (const DosNameFault fault = DosNameFaultOf(part); fault != DosNameFault::None)
            return {std::string(), std::string(part), fault};
        result.path += part;
        if (end == std::string_view::npos)
            return result;
        result.path += '\\';
        start = end + 1;
    }
}

} // namespace vl
