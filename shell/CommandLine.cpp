// The program's command line.
#include "CommandLine.h"

namespace vl
{

namespace
{

bool KnownSwitch(const QString& name, CommandLine::Action& action)
{
    if (name == QStringLiteral("p") || name == QStringLiteral("pt")) {
        action = CommandLine::Action::Print;
        return true;
    }
    if (name == QStringLiteral("dde")) {
        action = CommandLine::Action::Dde;
        return true;
    }
    if (name.compare(QStringLiteral("Unregister"), Qt::CaseInsensitive) == 0 ||
        name.compare(QStringLiteral("Unregserver"), Qt::CaseInsensitive) == 0) {
        action = CommandLine::Action::Unregister;
        return true;
    }
    return false;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    bool haveFile = false;
    for (const QString& arg : arguments) {
        if (arg == QStringLiteral("--help")) {
            line.action = CommandLine::Action::Help;
            continue;
        }
        if (arg == QStringLiteral("--version")) {
            line.action = CommandLine::Action::Version;
            continue;
        }
        CommandLine::Action action;
        if (arg.startsWith(QLatin1Char('-'))) {
            if (KnownSwitch(arg.mid(1), action))
                line.action = action;
            continue;
        }
        if (arg.startsWith(QLatin1Char('/')) && KnownSwitch(arg.mid(1), action)) {
            line.action = action;
            continue;
        }
        if (!haveFile) {
            line.file = arg;
            haveFile = true;
        }
    }
    return line;
}

QString UsageText()
{
    return QStringLiteral("Usage: vlconfig [FILE]\n"
                          "Edits the configuration of the VLLaunch boot menu (Salvage Deck).\n"
                          "\n"
                          "  FILE            the configuration (.ini) to open; without it a new one is\n"
                          "                  made from VLDefault.cfg beside the program\n"
                          "  /Unregister     delete the program's settings and end\n"
                          "  --help          show this text and end\n"
                          "  --version       show the version and end\n");
}

QString VersionText()
{
    return QStringLiteral("Salvage Deck Configuration Utility 1.0.0.1\n");
}

} // namespace vl
