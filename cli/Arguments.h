// The command line: which mode a start asks for, decided before any window machinery exists.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vl::cli
{

// What the window program makes of its arguments. An argument is a switch when it begins with "-",
// or with "/" followed by one of the known switches ("p", "pt", "dde" in lower case; "Unregister",
// "Unregserver" in any case). Any other argument beginning with "/" is a path, and so is every
// argument after "--". Unknown switches are ignored; the last known one wins.
enum class WindowAction { Run, Print, Dde, Unregister, Help, Version };
struct WindowArguments {
    WindowAction action = WindowAction::Run;
    std::ptrdiff_t fileIndex = -1; // the first argument that is no switch, or -1
};
WindowArguments ParseWindowArguments(const std::vector<std::string_view>& arguments);

// What the front program does. Any of --check, --write-batch, --print-batch and --make-logo makes a
// start a command-line one; its other arguments are then file names (after "--" also those beginning with
// "-"). Without them the window program's rules decide, and only --help and --version are answered
// here.
enum class Mode { Window, Help, Version, Check, WriteBatch, PrintBatch, MakeLogo, UsageError };
struct FrontArguments {
    Mode mode = Mode::Window;
    std::vector<std::string> files;
    std::string error; // for UsageError
};
FrontArguments ParseFrontArguments(const std::vector<std::string_view>& arguments);

} // namespace vl::cli
