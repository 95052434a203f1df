// The texts of --help and --version, shared by the front program and the window program so the two
// can never tell different stories.
#pragma once

#include "model/Version.h"

#include <string_view>

namespace vl::cli
{

inline constexpr std::string_view kUsageText =
    "Usage: vlconfig [FILE]\n"
    "  or:  vlconfig --check FILE...\n"
    "  or:  vlconfig --write-batch FILE...\n"
    "  or:  vlconfig --print-batch FILE\n"
    "  or:  vlconfig --make-logo PICTURE [OUT.PCX]\n"
    "Edits the configuration of the VLLaunch boot menu (Salvage Deck).\n"
    "\n"
    "  FILE            the configuration (.ini) to open; without it a new one is\n"
    "                  made from VLDefault.cfg in ../share/vlconfig/ from the\n"
    "                  program's folder (/usr/share/vlconfig/ for the package),\n"
    "                  or in the program's own folder in a build tree\n"
    "  /Unregister     delete the program's settings and end\n"
    "  --help          show this text and end\n"
    "  --version       show the version and end\n"
    "\n"
    "Without a window (no display needed):\n"
    "  --check         report every problem of each configuration, one line each,\n"
    "                  as FILE:LINE: message (FILE: message when no line fits)\n"
    "  --write-batch   write each configuration's batch file beside it, as Save\n"
    "                  does, without asking; a configuration with a problem that\n"
    "                  Save refuses gets its --check lines and no batch file\n"
    "  --print-batch   write the configuration's batch file to standard output\n"
    "                  instead (refused the same way, the lines on standard error)\n"
    "  --make-logo     make the launcher's logo from a picture (PNG, JPEG, BMP, GIF,\n"
    "                  SVG, PCX): fitted into 120 by 120 pixels, never enlarged,\n"
    "                  transparency on white, 16 colours, PCX version 2; written to\n"
    "                  OUT.PCX (replaced when it exists) or else beside the picture\n"
    "                  under its name in DOS form (never over an existing file);\n"
    "                  prints the logo's path. A PCX version 2 that fits already\n"
    "                  is taken as it is\n"
    "  --              every argument after it is a file name\n"
    "\n"
    "Exit status of the first three: 0 when every file is clean (and written), 1\n"
    "when a file has a problem or its batch file cannot be written, 2 for a usage\n"
    "error or a file that cannot be read at all. Of --make-logo: 0 when the logo\n"
    "was made, 1 when the file is no picture or the logo cannot be written, 2 for\n"
    "a usage error.\n";

// The front's one line when a start needs a window and there is no display to show it on.
inline constexpr std::string_view kNoDisplayText =
    "vlconfig: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
    "without a window, use --check, --write-batch or --print-batch\n";

inline constexpr std::string_view kVersionText = "Salvage Deck Configuration Utility " VLCONFIG_VERSION "\n";

} // namespace vl::cli
