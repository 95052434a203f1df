// Running a command line and waiting for it.
#include "ProcessService.h"

#include <QCoreApplication>
#include <QProcess>
#include <QWidget>

namespace platform
{

ProcessResult QtProcessService::Run(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder, QWidget* window)
{
    ProcessResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted()) {
        result.error = process.errorString();
        return result;
    }
    result.started = true;
    const bool wasEnabled = window && window->isEnabled();
    if (window)
        window->setEnabled(false);
    // Paint and keep the window system answered, but take no input until the program ends.
    while (!process.waitForFinished(50))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (window)
        window->setEnabled(wasEnabled);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

namespace
{
ProcessService* g_processes = nullptr;
} // namespace

ProcessService& Processes()
{
    static QtProcessService real;
    return g_processes ? *g_processes : real;
}

void SetProcessService(ProcessService* service)
{
    g_processes = service;
}

} // namespace platform
