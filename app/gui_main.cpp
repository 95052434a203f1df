// Entry point of vlconfig-gui, the window program that vlconfig starts for everything but the
// command-line modes.
#include "cli/Arguments.h"
#include "cli/Usage.h"
#include "shell/CVLConfigApp.h"
#include "shell/CommandLine.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Handed over by the front, and run without a window: no display is needed.
    const auto front = vl::cli::ParseFrontArguments({argv + 1, argv + argc});
    if (front.mode == vl::cli::Mode::MakeLogo)
        return vl::RunMakeLogo(front.files);

    // Answered before the application object exists, which needs a display.
    const auto line = vl::cli::ParseWindowArguments({argv + 1, argv + argc});
    if (line.action == vl::cli::WindowAction::Help || line.action == vl::cli::WindowAction::Version) {
        const std::string_view text =
            line.action == vl::cli::WindowAction::Help ? vl::cli::kUsageText : vl::cli::kVersionText;
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Salvage Deck"));
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vlconfig/vlconfig.png")));

    vl::CVLConfigApp app;
    // From argv itself: QApplication::arguments() turns bytes that are no UTF-8 into U+FFFD.
    if (!app.InitInstance(vl::ProgramArguments(argc, argv)))
        return app.ExitCode();
    return QApplication::exec();
}
