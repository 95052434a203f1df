// Running an outside program and waiting for it, with the window disabled but still painted.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace platform
{

struct ProcessResult {
    bool started = false;
    int exitCode = -1;
    QString error;               // the system's reason when it could not start
    bool closeRequested = false; // the window was asked to close while the program ran
    int endSignal = 0;           // SIGTERM, SIGHUP or SIGINT that came while the program ran, or 0
};

class ProcessService
{
  public:
    virtual ~ProcessService() = default;
    // Runs program with arguments in workingFolder, sharing this program's standard input and output,
    // and waits until it ends. While it runs, window (when given) is disabled but keeps painting,
    // and input given to any window is dropped. A request to close window ends the program; the
    // close is asked for again once the wait is over, and the focus goes back where it was.
    // SIGTERM, SIGHUP or SIGINT during the wait end the program too, and the wait: the caller
    // cleans up and then ends with EndWithSignal(). environment ("NAME=value") adds to this
    // program's own for the program run.
    virtual ProcessResult Run(const QString& program, const QStringList& arguments,
                              const QString& workingFolder, QWidget* window,
                              const QStringList& environment = {}) = 0;
};

class QtProcessService : public ProcessService
{
  public:
    ProcessResult Run(const QString& program, const QStringList& arguments, const QString& workingFolder,
                      QWidget* window, const QStringList& environment = {}) override;
};

ProcessService& Processes();
// Ends this program as the signal would have, had nothing caught it.
[[noreturn]] void EndWithSignal(int signal);
void SetProcessService(ProcessService* service); // none restores the real one

} // namespace platform
