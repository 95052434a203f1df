// The program's start-up as app/main.cpp runs it, ending once the main window is shown and painted.
#include "shell/CVLConfigApp.h"

#include "QuitAfterFirstPaint.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Salvage Deck"));
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vlconfig/vlconfig.png")));
    QuitAfterFirstPaint quitter;
    application.installEventFilter(&quitter);

    // A new document from the template beside this executable, as when the program starts with no file.
    vl::CVLConfigApp app;
    if (!app.InitInstance({})) {
        std::fprintf(stderr, "startup_probe: the program did not start (exit code %d)\n", app.ExitCode());
        return app.ExitCode() ? app.ExitCode() : 3;
    }

    // Should the window never be painted, fail rather than wait for ever.
    QTimer::singleShot(10000, qApp, [] {
        std::fputs("startup_probe: the window was not painted within 10 s\n", stderr);
        std::exit(2);
    });
    return QApplication::exec();
}
