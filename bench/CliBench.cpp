// `vlconfig --check` on the 5,000-section configuration as a whole process, against a program that
// only reads the same file with the model, started in turn.
#include "MenuConfig.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

constexpr int kRuns = 40;
constexpr int kWarmups = 3;

std::string g_folder;

void RemoveFiles()
{
    if (g_folder.empty())
        return;
    for (const char* name : {"/menu.ini", "/check.out"})
        unlink((g_folder + name).c_str());
    rmdir(g_folder.c_str());
    g_folder.clear();
}

[[noreturn]] void Die(const std::string& what)
{
    std::fprintf(stderr, "vl_cli_bench: %s\n", what.c_str());
    RemoveFiles();
    std::exit(1);
}

struct Times {
    double wall = 0; // milliseconds from the start to the end
    double cpu = 0;  // user and system milliseconds: less moved by whatever else the machine does
};

// Runs the program with its output sent to outputPath; gives its times and its exit status.
Times RunOnce(const std::vector<std::string>& arguments, const std::string& outputPath, int& exitStatus)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    timespec start{}, end{};
    pid_t pid = 0;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        Die("cannot start " + arguments[0] + ": " + std::strerror(spawned));
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            Die(std::string("wait4: ") + std::strerror(errno));
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) * 1e-3;
    };
    return {static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
                static_cast<double>(end.tv_nsec - start.tv_nsec) * 1e-6,
            ms(usage.ru_utime) + ms(usage.ru_stime)};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::size_t CountLines(const std::string& path)
{
    std::size_t lines = 0;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;)
            lines += c == '\n';
        std::fclose(f);
    }
    return lines;
}

} // namespace

int main()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vl_cli_bench.XXXXXX";
    if (!mkdtemp(pattern.data()))
        Die(std::string("cannot make a temporary folder: ") + std::strerror(errno));
    g_folder = pattern;
    const std::string config = g_folder + "/menu.ini";
    const std::string text = GenerateMenuConfig();
    FILE* f = std::fopen(config.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0)
        Die("cannot write " + config);

    const std::vector<std::string> check = {VLCONFIG_PROGRAM, "--check", config};
    const std::vector<std::string> bare = {VL_BARE_READ_PROGRAM, config};
    std::vector<double> checkWall, bareWall, checkCpu, bareCpu;
    int status = 0;
    // Once with its report kept, to show what the check found; the timed runs write to /dev/null.
    RunOnce(check, g_folder + "/check.out", status);
    const std::size_t reported = CountLines(g_folder + "/check.out");
    if (status != 0 && status != 1)
        Die("vlconfig --check ended with status " + std::to_string(status));
    for (int i = 0; i < kWarmups + kRuns; ++i) {
        // In turn, so that whatever else the machine does falls on both alike.
        const Times a = RunOnce(check, "/dev/null", status);
        const Times b = RunOnce(bare, "/dev/null", status);
        if (status != 0)
            Die("the bare read refused the file");
        if (i >= kWarmups) {
            checkWall.push_back(a.wall);
            checkCpu.push_back(a.cpu);
            bareWall.push_back(b.wall);
            bareCpu.push_back(b.cpu);
        }
    }
    RemoveFiles();

    std::printf("vlconfig --check on %d sections, %zu bytes (%zu lines reported), against a bare model read, "
                "%d runs each:\n",
                kMenuSectionCount, text.size(), reported, kRuns);
    std::printf("check      time median %6.2f ms (min %6.2f), CPU median %6.2f ms\n", Median(checkWall),
                *std::min_element(checkWall.begin(), checkWall.end()), Median(checkCpu));
    std::printf("bare read  time median %6.2f ms (min %6.2f), CPU median %6.2f ms\n", Median(bareWall),
                *std::min_element(bareWall.begin(), bareWall.end()), Median(bareCpu));
    const double ratio = Median(checkWall) / Median(bareWall);
    std::printf("ratio check/bare read = %.2f (goal <= 1.3) %s   [%.2f ms vs %.2f ms; CPU %.2f]\n", ratio,
                ratio <= 1.3 ? "met" : "NOT MET", Median(checkWall), Median(bareWall),
                Median(checkCpu) / Median(bareCpu));
    return 0;
}
