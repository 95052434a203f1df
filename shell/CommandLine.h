// The program's command line: a file to open and a few switches.
#pragma once

#include "cli/Arguments.h"

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace vl
{

struct CommandLine {
    // The window program's switches are read by the same rules as the command-line front's.
    using Action = cli::WindowAction;
    Action action = Action::Run;
    QString file; // the first argument that is no switch
};

// The arguments after the program's name, as file names that give back their bytes (names need not
// be UTF-8).
QStringList ProgramArguments(int argc, const char* const* argv);

// An argument is a switch when it begins with "-", or with "/" followed by one of the known switches
// ("p", "pt", "dde" in lower case; "Unregister", "Unregserver" in any case). Any other argument
// beginning with "/" is a path, and so is every argument after "--". Unknown switches are ignored;
// the last known one wins.
CommandLine ParseCommandLine(const QStringList& arguments);

// vlconfig --make-logo PICTURE [OUT.PCX]: makes the launcher's logo of a picture, without a display.
// Says on standard output which file it made; 0 when made, 1 when refused, with the reason on standard
// error.
int RunMakeLogo(const std::vector<std::string>& files);

QString UsageText();
QString VersionText();

} // namespace vl
