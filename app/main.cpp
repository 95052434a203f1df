// Entry point of vlconfig: the command-line modes, --help and --version without Qt, so that they need
// no display and start as fast as a plain program; everything else goes to the window program.
#include "cli/Arguments.h"
#include "cli/Modes.h"
#include "cli/Usage.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits.h>
#include <string>
#include <unistd.h>

namespace
{

constexpr const char* kWindowProgram = "vlconfig-gui";

int Print(std::string_view text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// Runs the window program with the same arguments, argv[0] included: the window system takes the
// program's class from it. Installed, it lies in libexec beside bin; in the build tree, beside us.
int StartWindowProgram(char** argv)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
        std::fprintf(stderr, "vlconfig: cannot find its own folder: %s\n", std::strerror(errno));
        return 127;
    }
    const std::string own(self, static_cast<std::size_t>(n));
    const std::string folder = own.substr(0, own.rfind('/') + 1);
    for (const std::string& candidate :
         {folder + VLCONFIG_LIBEXEC_FROM_BIN + "/" + kWindowProgram, folder + kWindowProgram}) {
        if (access(candidate.c_str(), X_OK) != 0)
            continue;
        execv(candidate.c_str(), argv);
        std::fprintf(stderr, "vlconfig: cannot start %s: %s\n", candidate.c_str(), std::strerror(errno));
        return 126;
    }
    std::fprintf(stderr, "vlconfig: the window program %s is neither in %s%s nor in %s\n", kWindowProgram,
                 folder.c_str(), VLCONFIG_LIBEXEC_FROM_BIN, folder.c_str());
    return 127;
}

} // namespace

int main(int argc, char** argv)
{
    const vl::cli::FrontArguments front = vl::cli::ParseFrontArguments({argv + 1, argv + argc});
    switch (front.mode) {
    case vl::cli::Mode::Window:
        // Qt would end the window program with a core dump's status and a message about plugins.
        if (!HasDisplay()) {
            std::fwrite(vl::cli::kNoDisplayText.data(), 1, vl::cli::kNoDisplayText.size(), stderr);
            return vl::cli::kUsageOrUnreadable;
        }
        return StartWindowProgram(argv);
    case vl::cli::Mode::MakeLogo:
        // Pictures need Qt's image readers, which the window program has; it makes the logo
        // without opening a window.
        return StartWindowProgram(argv);
    case vl::cli::Mode::Help:
        return Print(vl::cli::kUsageText);
    case vl::cli::Mode::Version:
        return Print(vl::cli::kVersionText);
    case vl::cli::Mode::UsageError:
        std::fprintf(stderr, "vlconfig: %s\nTry 'vlconfig --help'.\n", front.error.c_str());
        return vl::cli::kUsageOrUnreadable;
    default:
        break;
    }
    // A file-size limit makes a write fail with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    switch (front.mode) {
    case vl::cli::Mode::Check:
        return vl::cli::RunCheck(front.files, stdout);
    case vl::cli::Mode::WriteBatch:
        return vl::cli::RunWriteBatch(front.files, stdout);
    default:
        return vl::cli::RunPrintBatch(front.files.front(), stdout, stderr);
    }
}
