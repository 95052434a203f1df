// The paths the launcher reads on its DOS medium: each part a DOS name, folders joined by "\".
#pragma once

#include <string>
#include <string_view>

namespace vl
{

// Why a part of a path is no DOS name.
enum class DosNameFault {
    None,
    Form,     // not 1 to 8 characters with, after one dot, an extension of 1 to 3
    Blank,    // a blank, which the command line would take apart
    Character // a control character, a byte outside ASCII, or one of " * + , / : ; < = > ? [ \ ] |
};

DosNameFault DosNameFaultOf(std::string_view name);

struct DosPath {
    std::string path;                        // the parts joined by "\" when every one is a DOS name
    std::string badPart;                     // else the first part that is none
    DosNameFault fault = DosNameFault::None; // and why
};

// The DOS form of a path relative to the configuration's folder, its parts separated by "/" or "\";
// letter case is kept, as DOS ignores it.
DosPath DosPathOf(std::string_view relative);

} // namespace vl
