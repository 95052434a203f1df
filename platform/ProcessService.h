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
};

class ProcessService
{
  public:
    virtual ~ProcessService() = default;
    // Runs program with arguments in workingFolder, sharing this program's standard input and output,
    // and waits until it ends. While it runs, window (when given) is disabled but keeps painting,
    // and input given to any window is dropped. A request to close window ends the program; the
    // close is asked for again once the wait is over, and the focus goes back where it was.
    virtual ProcessResult Run(const QString& program, const QStringList& arguments,
                              const QString& workingFolder, QWidget* window) = 0;
};

class QtProcessService : public ProcessService
{
  public:
    ProcessResult Run(const QString& program, const QStringList& arguments, const QString& workingFolder,
                      QWidget* window) override;
};

ProcessService& Processes();
void SetProcessService(ProcessService* service); // none restores the real one

} // namespace platform
