// The command line.
#include "Arguments.h"

#include "model/CaseFold.h"

namespace vl::cli
{

namespace
{

bool KnownSwitch(std::string_view name, WindowAction& action)
{
    if (name == "p" || name == "pt") {
        action = WindowAction::Print;
        return true;
    }
    if (name == "dde") {
        action = WindowAction::Dde;
        return true;
    }
    if (EqualsIgnoreCase(name, "Unregister") || EqualsIgnoreCase(name, "Unregserver")) {
        action = WindowAction::Unregister;
        return true;
    }
    return false;
}

bool ModeSwitch(std::string_view arg, Mode& mode)
{
    if (arg == "--check")
        mode = Mode::Check;
    else if (arg == "--write-batch")
        mode = Mode::WriteBatch;
    else if (arg == "--print-batch")
        mode = Mode::PrintBatch;
    else if (arg == "--make-logo")
        mode = Mode::MakeLogo;
    else
        return false;
    return true;
}

FrontArguments UsageError(std::string error)
{
    FrontArguments front;
    front.mode = Mode::UsageError;
    front.error = std::move(error);
    return front;
}

} // namespace

WindowArguments ParseWindowArguments(const std::vector<std::string_view>& arguments)
{
    WindowArguments line;
    bool filesOnly = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        if (filesOnly) {
            if (line.fileIndex < 0)
                line.fileIndex = static_cast<std::ptrdiff_t>(i);
            continue;
        }
        if (arg == "--") {
            filesOnly = true;
            continue;
        }
        if (arg == "--help") {
            line.action = WindowAction::Help;
            continue;
        }
        if (arg == "--version") {
            line.action = WindowAction::Version;
            continue;
        }
        WindowAction action;
        if (arg.starts_with('-')) {
            if (KnownSwitch(arg.substr(1), action))
                line.action = action;
            continue;
        }
        if (arg.starts_with('/') && KnownSwitch(arg.substr(1), action)) {
            line.action = action;
            continue;
        }
        if (line.fileIndex < 0)
            line.fileIndex = static_cast<std::ptrdiff_t>(i);
    }
    return line;
}

FrontArguments ParseFrontArguments(const std::vector<std::string_view>& arguments)
{
    FrontArguments front;
    std::string_view modeName;
    bool filesOnly = false;
    for (const std::string_view arg : arguments) {
        Mode mode;
        if (filesOnly) {
            front.files.emplace_back(arg);
        } else if (arg == "--") {
            filesOnly = true;
        } else if (ModeSwitch(arg, mode)) {
            if (!modeName.empty())
                return UsageError(std::string(arg) + " cannot be combined with " + std::string(modeName));
            front.mode = mode;
            modeName = arg;
        } else if (arg.size() > 1 && arg[0] == '-') {
            // An error only once a mode is known: without one, the window program's rules apply.
            if (front.error.empty())
                front.error = "unexpected option " + std::string(arg);
        } else {
            front.files.emplace_back(arg);
        }
    }

    if (modeName.empty()) {
        switch (ParseWindowArguments(arguments).action) {
        case WindowAction::Help:
            return {Mode::Help, {}, {}};
        case WindowAction::Version:
            return {Mode::Version, {}, {}};
        default:
            return {Mode::Window, {}, {}};
        }
    }
    if (!front.error.empty())
        return UsageError(front.error + " with " + std::string(modeName));
    if (front.files.empty())
        return UsageError(std::string(modeName) +
                          (front.mode == Mode::MakeLogo ? " needs a picture" : " needs a file name"));
    if (front.mode == Mode::PrintBatch && front.files.size() != 1)
        return UsageError("--print-batch takes exactly one file name");
    if (front.mode == Mode::MakeLogo && front.files.size() > 2)
        return UsageError("--make-logo takes a picture and at most one file to make");
    return front;
}

} // namespace vl::cli
