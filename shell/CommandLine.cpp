// The program's command line: the rules and texts are the front program's, shared without Qt.
#include "CommandLine.h"

#include "cli/Arguments.h"
#include "cli/Usage.h"

#include <string>
#include <string_view>
#include <vector>

namespace vl
{

CommandLine ParseCommandLine(const QStringList& arguments)
{
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& arg : arguments)
        bytes.push_back(arg.toLocal8Bit().toStdString());
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
