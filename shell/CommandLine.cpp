// The program's command line: the rules and texts are the front program's, shared without Qt.
#include "CommandLine.h"

#include "cli/Arguments.h"
#include "cli/Modes.h"
#include "cli/Usage.h"
#include "document/CVLConfigDoc.h"
#include "model/AtomicFile.h"
#include "model/Pcx.h"
#include "pages/CVLGenView.h"
#include "pages/LogoPicture.h"
#include "platform/Paths.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>

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

namespace
{

int Refuse(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
    return cli::kProblem;
}

} // namespace

int RunMakeLogo(const std::vector<std::string>& files)
{
    // Drawings may hold text, whose fonts want an application object; the offscreen platform needs
    // no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "vlconfig";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    const std::string& picturePath = files.front();
    std::string bytes;
    if (ReadRegularFile(picturePath, bytes, kMaxPictureBytes) != ReadOutcome::Read)
        return Refuse(picturePath, "Unable to open the specified file..!!");
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const bool fits = pcx::JudgeLogo(data, bytes.size()) == pcx::LogoVerdict::Fits;
    if (!fits) {
        const auto loaded = ReadLogoPicture(bytes);
        if (!loaded)
            return Refuse(
                picturePath,
                "The file is not a picture that a logo can be made from (PNG, JPEG, BMP, GIF, SVG or PCX).");
        bytes = LogoFileBytes(loaded->logo);
    }
    std::string out;
    if (files.size() > 1) {
        out = files[1];
    } else if (fits) {
        out = picturePath; // already the launcher's logo, taken as it is
    } else {
        // Beside the picture under its DOS name, and never over another file: naming it says to.
        const QString picture = QFile::decodeName(picturePath.c_str());
        const QString folder = platform::FolderOf(picture);
        const QString listed = folder.isEmpty() ? QStringLiteral("./") : folder;
        const QString name = LogoFileName(listed, picture);
        out = LocalPath(folder + name);
        if (FolderHolds(listed, name))
            return Refuse(out, "The file already exists; name it after the picture to replace it.");
    }
    if (IsSameFile(out, picturePath)) {
        if (!fits)
            return Refuse(out, "This is the picture itself, which is never replaced.");
        std::printf("%s\n", out.c_str());
        return std::fflush(stdout) == 0 ? cli::kClean : cli::kProblem;
    }
    if (const Status written = WriteFileAtomically(out, bytes); !written)
        return Refuse(out, "Unable to write the logo. " + written.Reason());
    std::printf("%s\n", out.c_str());
    return std::fflush(stdout) == 0 ? cli::kClean : cli::kProblem;
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
