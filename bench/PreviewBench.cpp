// Preview benchmark: from F5 (the document's Preview) to the stand-in launcher's menu on screen in
// DOSBox, and on to the entry picked there running, against a bare "dosbox -c exit", both through
// the program's process service and run in turn. DOSBox's start dominates both; Preview should add
// little to it.
#include "document/CVLConfigDoc.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/ProcessService.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_VIDEODRIVER", "dummy");
    qputenv("SDL_AUDIODRIVER", "dummy");
    qunsetenv("COMSPEC");
    // The stand-in launcher takes its keys from this file, and first reads it once its menu is drawn.
    qputenv("VLKEYS", "C:\\KEYS.TXT");
    QApplication app(argc, argv);
    platform::SetProgramFolderOverride(QFileInfo(QStringLiteral(VL_DOS_STANDINS)).path());
    QTemporaryDir work;
    // The bare DOSBox writes its default settings into HOME: this folder's, not the user's.
    const QString home = work.path() + QStringLiteral("/home"),
                  folder = work.path() + QStringLiteral("/menu");
    qputenv("HOME", QFile::encodeName(home));
    const QString dosbox = QStandardPaths::findExecutable(QStringLiteral("dosbox"));
    const QByteArray entry = "\r\nPARENT=Velmora Products\r\nTITLE=T\r\nDESCRIPTION=\r\nPATH=";
    const QString config = folder + QStringLiteral("/MENU.ini"), marker = folder + QStringLiteral("/R.TXT"),
                  keys = folder + QStringLiteral("/KEYS.TXT");
    if (dosbox.isEmpty() || !QDir().mkpath(home) || !QDir().mkpath(folder) ||
        !WriteBytes(keys, "Enter\r\n") ||
        !WriteBytes(config,
                    "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Menu\r\n[One]" + entry + "echo one>R.TXT\r\n")) {
        std::fprintf(stderr, "vl_preview_bench: needs dosbox on PATH and a writable temporary folder\n");
        return 1;
    }
    platform::ScriptedMessageService messages;
    platform::SetMessageService(&messages);
    vl::CVLConfigDoc doc;
    if (!doc.OnOpenDocument(config) || !doc.DoSave(config)) {
        std::fprintf(stderr, "vl_preview_bench: cannot save %s\n", qPrintable(config));
        return 1;
    }
    messages.TakeTexts();
    const QByteArray markerName = QFile::encodeName(marker);
    const int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watcher < 0 || inotify_add_watch(watcher, QFile::encodeName(keys).constData(), IN_ACCESS) < 0) {
        std::fprintf(stderr, "vl_preview_bench: cannot watch %s\n", qPrintable(keys));
        return 1;
    }

    std::vector<double> bare, toMenu, toEntry, whole;
    for (int run = 0; run <= kRuns; ++run) { // the first run of each only warms up
        Clock::time_point start = Clock::now();
        platform::Processes().Run(dosbox, {QStringLiteral("-c"), QStringLiteral("exit")}, folder, nullptr);
        const double bareMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

        QFile::remove(marker);
        std::atomic<bool> done = false;
        std::atomic<double> menuMs = -1, entryMs = -1;
        char events[4096];
        while (read(watcher, events, sizeof events) > 0) {
        }
        start = Clock::now();
        // The key file is first read right after the menu is on the screen; the entry's marker appears
        // right after the launcher has ended with its code.
        std::thread watch([&] {
            pollfd fd{watcher, POLLIN, 0};
            while (!done && poll(&fd, 1, 50) <= 0) {
            }
            menuMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            struct stat st;
            while (!done && stat(markerName.constData(), &st) != 0)
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            entryMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        });
        doc.OnPreview();
        const double wholeMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        done = true;
        watch.join();
        if (!QFile::exists(marker) || !messages.TakeTexts().isEmpty()) {
            std::fprintf(stderr, "vl_preview_bench: Preview did not run the entry\n");
            return 1;
        }
        if (run > 0) {
            bare.push_back(bareMs);
            toMenu.push_back(menuMs);
            toEntry.push_back(entryMs);
            whole.push_back(wholeMs);
        }
    }
    const double b = Median(bare), m = Median(toMenu), e = Median(toEntry), w = Median(whole);
    std::printf("Preview in DOSBox (headless, %d runs each after one warm-up, medians):\n", kRuns);
    std::printf("  bare dosbox -c exit, start to end           %8.1f ms\n", b);
    std::printf("  Preview, F5 to the stand-in's menu on screen %7.1f ms\n", m);
    std::printf("  Preview, F5 to the picked entry running     %8.1f ms\n", e);
    std::printf("  Preview, F5 to the editor taking input again %7.1f ms\n", w);
    std::printf("ratio Preview to the stand-in's menu / bare dosbox = %.2f (goal <= 1.2) %s   [%.1f ms vs "
                "%.1f ms]\n",
                m / b, m / b <= 1.2 ? "met" : "NOT MET", m, b);
    std::printf("ratio Preview to the picked entry / bare dosbox = %.2f (for information)\n", e / b);
    std::printf("ratio Preview whole run / bare dosbox = %.2f (for information)\n", w / b);
    platform::SetMessageService(nullptr);
    close(watcher);
    return 0;
}
