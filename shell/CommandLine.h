// The program's command line: a file to open and a few switches.
#pragma once

#include <QString>
#include <QStringList>

namespace vl
{

struct CommandLine {
    enum class Action { Run, Print, Dde, Unregister, Help, Version };
    Action action = Action::Run;
    QString file; // the first argument that is no switch
};

// An argument is a switch when it begins with "-", or with "/" followed by one of the known switches
// ("p", "pt", "dde" in lower case; "Unregister", "Unregserver" in any case). Any other argument
// beginning with "/" is a path. Unknown switches are ignored; the last known one wins.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

} // namespace vl
