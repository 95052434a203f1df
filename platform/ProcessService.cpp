// Running an outside program and waiting for it.
#include "ProcessService.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>

namespace platform
{

namespace
{

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

// While installed on the application, swallows every input event, and turns a request to close the
// waiting window into the end of the program it waits for.
class WaitFilter : public QObject
{
  public:
    WaitFilter(QWidget* window, QProcess& process) : m_window(window), m_process(process) {}
    bool closeRequested = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (IsInput(event->type()))
            return true;
        if (event->type() == QEvent::Close && m_window && watched == m_window) {
            event->ignore();
            if (!closeRequested) {
                closeRequested = true;
                m_process.terminate();
                // An interpreter that ignores the polite request is ended anyway.
                QTimer::singleShot(3000, &m_process, [process = &m_process] { process->kill(); });
            }
            return true;
        }
        return false;
    }

  private:
    QWidget* m_window;
    QProcess& m_process;
};

} // namespace

ProcessResult QtProcessService::Run(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder, QWidget* window)
{
    ProcessResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    // A batch file that asks for input gets it from the terminal the editor was started from.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start();
    if (!process.waitForStarted()) {
        result.error = process.errorString();
        return result;
    }
    result.started = true;

    const QPointer<QWidget> focus = QApplication::focusWidget();
    const bool wasEnabled = window && window->isEnabled();
    if (window)
        window->setEnabled(false);
    WaitFilter filter(window, process);
    qApp->installEventFilter(&filter);
    // Input is taken from the window system and dropped here, so none of it acts once the wait is
    // over; painting and everything else goes on.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    qApp->removeEventFilter(&filter);
    if (window)
        window->setEnabled(wasEnabled);
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);

    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.closeRequested = filter.closeRequested;
    if (result.closeRequested && window)
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
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
