// Running a command line and waiting for it, with the window disabled but still painted.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace platform
{

struct ProcessResult {
    bool started = false;
    int exitCode = -1;
    QString error; // the system's reason when it could not start
};

class ProcessService
{
  public:
    virtual ~ProcessService() = default;
    // Runs program with arguments in workingFolder and waits until it ends. While it runs, window
    // (when given) is disabled and keeps painting.
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
