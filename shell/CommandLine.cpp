// The program's command line: the rules and texts are the front program's, shared without Qt.
#include "CommandLine.h"

#include "cli/Arguments.h"
#include "cli/Usage.h"
#include "platform/Paths.h"

#include <string>
#include <string_view>
#include <vector>

namespace vl
{

QStringList ProgramArguments(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(platform::FileNameFromBytes(argv[i]));
    return arguments;
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& arg : arguments)
        bytes.push_back(platform::FileNameBytes(arg));
    const cli::WindowArguments parsed = cli::ParseWindowArguments({bytes.begin(), bytes.end()});

    CommandLine line;
    line.action = parsed.action;
    if (parsed.fileIndex >= 0)
        line.file = arguments[parsed.fileIndex];
    return line;
}

QString UsageText()
{
    return QString::fromUtf8(cli::kUsageText.data(), static_cast<qsizetype>(cli::kUsageText.size()));
}

QString VersionText()
{
    return QString::fromUtf8(cli::kVersionText.data(), static_cast<qsizetype>(cli::kVersionText.size()));
}

} // namespace vl
