// Entry point of vlconfig.
#include "shell/CVLConfigApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Salvage Deck"));
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vlconfig/vlconfig.png")));

    vl::CVLConfigApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return app.ExitCode();
    return QApplication::exec();
}
