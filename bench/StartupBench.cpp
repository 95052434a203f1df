// Start-up benchmark: the program against a bare Qt window, time to exit and peak memory, run in turn.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <ftw.h>
#include <limits.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

// A run that takes longer than this is stuck (a box waiting for an answer, say): it is killed and
// the benchmark fails.
constexpr int kRunTimeoutSeconds = 30;

struct Subject {
    const char* label;
    std::string path;
    std::vector<double> milliseconds;
    // User and system time, to tell the program's own work from waiting for the machine.
    std::vector<double> cpuMilliseconds;
    std::vector<double> peakMiB;
};

std::string g_folder; // temporary: the settings folder and the logs of the runs

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

void RemoveFolder()
{
    if (!g_folder.empty() && nftw(g_folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS) != 0)
        std::fprintf(stderr, "vl_startup_bench: could not remove %s\n", g_folder.c_str());
    g_folder.clear();
}

[[noreturn]] void Die(const std::string& what)
{
    std::fprintf(stderr, "vl_startup_bench: %s\n", what.c_str());
    RemoveFolder();
    std::exit(1);
}

std::string OwnFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        Die("cannot find the benchmark's own folder");
    std::string path(buffer, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/'));
}

double Seconds(const timespec& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string ReadLog(const std::string& path)
{
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < 16384)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

// The environment of every run: ours, with the offscreen platform and a settings folder of its own.
std::vector<std::string> ChildEnvironment(const std::string& configHome)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("XDG_CONFIG_HOME=", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_CONFIG_HOME=" + configHome);
    return env;
}

// Starts the executable, waits for it to end and records the wall-clock time from the spawn to the
// end, and the peak resident memory the kernel counted for it.
void RunOnce(Subject& subject, const std::vector<std::string>& env, bool record)
{
    const std::string log = g_folder + "/" + subject.path.substr(subject.path.rfind('/') + 1) + ".log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);

    std::vector<char*> argv = {const_cast<char*>(subject.path.c_str()), nullptr};
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    // SIGCHLD stays blocked (see main), so the end of the child can be awaited with a time limit.
    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);

    // The child starts with no signal blocked, as from a shell.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

    timespec start{}, end{};
    pid_t pid = 0;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const int spawned =
        posix_spawn(&pid, subject.path.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        Die("cannot start " + subject.path + ": " + std::strerror(spawned));

    const timespec limit{kRunTimeoutSeconds, 0};
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            Die(std::string("wait4: ") + std::strerror(errno));
        if (sigtimedwait(&childSignal, nullptr, &limit) < 0 && errno == EAGAIN) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            Die(subject.path + " did not end within " + std::to_string(kRunTimeoutSeconds) +
                " s; its output:\n" + ReadLog(log));
        }
    }
    clock_gettime(CLOCK_MONOTONIC, &end);

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Die(subject.path + " failed (status " + std::to_string(status) + "); its output:\n" + ReadLog(log));
    if (record) {
        subject.milliseconds.push_back((Seconds(end) - Seconds(start)) * 1e3);
        const auto cpu = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) * 1e-3;
        };
        subject.cpuMilliseconds.push_back(cpu(usage.ru_utime) + cpu(usage.ru_stime));
        subject.peakMiB.push_back(static_cast<double>(usage.ru_maxrss) / 1024.0); // ru_maxrss is in KiB
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintSubject(const Subject& s)
{
    const auto [minTime, maxTime] = std::minmax_element(s.milliseconds.begin(), s.milliseconds.end());
    const auto [minPeak, maxPeak] = std::minmax_element(s.peakMiB.begin(), s.peakMiB.end());
    std::printf("%-12s time median %7.2f ms (min %7.2f, max %7.2f, CPU median %7.2f ms)   "
                "peak memory median %6.2f MiB (min %6.2f, max %6.2f)\n",
                s.label, Median(s.milliseconds), *minTime, *maxTime, Median(s.cpuMilliseconds),
                Median(s.peakMiB), *minPeak, *maxPeak);
}

void PrintRatio(const char* label, double ours, double bare, const char* unit)
{
    const double ratio = ours / bare;
    std::printf("ratio %s = %.2f (goal <= 1.2) %s   [%.2f %s vs %.2f %s]\n", label, ratio,
                ratio <= 1.2 ? "met" : "NOT MET", ours, unit, bare, unit);
}

// Takes "NAME=N" into value; false when arg is another option.
bool CountOption(const char* arg, const char* name, int& value)
{
    const std::size_t length = std::strlen(name);
    if (std::strncmp(arg, name, length) != 0 || arg[length] != '=')
        return false;
    char* end = nullptr;
    const long n = std::strtol(arg + length + 1, &end, 10);
    if (end == arg + length + 1 || *end != '\0' || n < 0 || n > 10000)
        Die(std::string("bad option ") + arg);
    value = static_cast<int>(n);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 20;
    int warmups = 2;
    for (int i = 1; i < argc; ++i) {
        if (!CountOption(argv[i], "--runs", runs) && !CountOption(argv[i], "--warmups", warmups))
            Die(std::string("unknown option ") + argv[i] + " (known: --runs=N, --warmups=N)");
    }
    runs = std::max(runs, 1);

    const std::string folder = OwnFolder();
    Subject program{"program", folder + "/vl_startup_probe", {}, {}, {}};
    Subject bare{"bare window", folder + "/vl_bare_window", {}, {}, {}};
    for (const Subject* s : {&program, &bare}) {
        if (access(s->path.c_str(), X_OK) != 0)
            Die("no " + s->path + "; build the \"release\" preset first");
    }
    // Without its template the program would ask for one and wait.
    if (access((folder + "/VLDefault.cfg").c_str(), R_OK) != 0)
        Die("no " + folder + "/VLDefault.cfg beside the probe");

    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vl_startup_bench.XXXXXX";
    if (!mkdtemp(pattern.data()))
        Die(std::string("cannot make a temporary folder: ") + std::strerror(errno));
    g_folder = pattern;
    const std::string configHome = g_folder + "/config";
    if (mkdir(configHome.c_str(), 0700) != 0)
        Die("cannot make " + configHome);
    const std::vector<std::string> env = ChildEnvironment(configHome);

    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignal, nullptr);

    // In turn, so that whatever else the machine does falls on both alike.
    for (int i = 0; i < warmups; ++i) {
        RunOnce(program, env, false);
        RunOnce(bare, env, false);
    }
    for (int i = 0; i < runs; ++i) {
        Subject& first = i % 2 ? bare : program;
        Subject& second = i % 2 ? program : bare;
        RunOnce(first, env, true);
        RunOnce(second, env, true);
    }
    RemoveFolder();

    std::printf("Start-up to the main window shown and painted, then exit (offscreen, %d runs each after "
                "%d warm-ups):\n",
                runs, warmups);
    PrintSubject(program);
    PrintSubject(bare);
    std::printf("\n");
    PrintRatio("start-up time program/bare", Median(program.milliseconds), Median(bare.milliseconds), "ms");
    PrintRatio("start-up peak memory program/bare", Median(program.peakMiB), Median(bare.peakMiB), "MiB");
    return 0;
}
