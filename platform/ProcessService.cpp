// Running an outside program and waiting for it.
#include "ProcessService.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

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

void EndGently(QProcess& process)
{
    process.terminate();
    // A program that ignores the polite request is ended anyway.
    QTimer::singleShot(3000, &process, [p = &process] { p->kill(); });
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
                EndGently(m_process);
            }
            return true;
        }
        return false;
    }

  private:
    QWidget* m_window;
    QProcess& m_process;
};

// The signals that ask this program to end; while it waits for another they end that one first, so
// that it is not left running, adopted by init, and the caller can clean up what it made for it.
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT};
int g_signalPipe[2] = {-1, -1};

extern "C" void NoteSignal(int signal)
{
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

// While it lives, the ending signals are written to a pipe that the wait's event loop reads.
class SignalCatcher
{
  public:
    SignalCatcher()
    {
        if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            g_signalPipe[0] = g_signalPipe[1] = -1;
            return;
        }
        struct sigaction action = {};
        action.sa_handler = NoteSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            sigaction(kEndingSignals[i], &action, &m_old[i]);
    }
    ~SignalCatcher()
    {
        if (g_signalPipe[0] < 0)
            return;
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            sigaction(kEndingSignals[i], &m_old[i], nullptr);
        close(g_signalPipe[0]);
        close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }
    SignalCatcher(const SignalCatcher&) = delete;
    SignalCatcher& operator=(const SignalCatcher&) = delete;

    int ReadFd() const { return g_signalPipe[0]; }
    // The first signal that came, or 0.
    int Taken()
    {
        char byte = 0;
        while (m_signal == 0 && ReadFd() >= 0 && read(ReadFd(), &byte, 1) == 1)
            m_signal = byte;
        return m_signal;
    }

  private:
    struct sigaction m_old[std::size(kEndingSignals)] = {};
    int m_signal = 0;
};

} // namespace

void EndWithSignal(int signal)
{
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    _exit(128 + signal);
}

ProcessResult QtProcessService::Run(const QString& program, const QStringList& arguments,
                                    const QString& workingFolder, QWidget* window,
                                    const QStringList& environment)
{
    ProcessResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    if (!environment.isEmpty()) {
        QStringList all = QProcess::systemEnvironment();
        all.append(environment);
        process.setEnvironment(all);
    }
    SignalCatcher catcher;
    // A batch file that asks for input gets it from the terminal the editor was started from.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start();
    if (!process.waitForStarted()) {
        result.error = process.errorString();
        result.endSignal = catcher.Taken();
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
    QSocketNotifier notifier(catcher.ReadFd(), QSocketNotifier::Read);
    notifier.setEnabled(catcher.ReadFd() >= 0);
    QObject::connect(&notifier, &QSocketNotifier::activated, &process, [&] {
        notifier.setEnabled(false);
        if (catcher.Taken())
            EndGently(process);
    });
    if (catcher.Taken())
        EndGently(process);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    result.endSignal = catcher.Taken();
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
