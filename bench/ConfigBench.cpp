// Benchmarks: reading a large configuration (ours against inih) and saving it (ours against a plain write).
#include "model/BatchFile.h"
#include "model/ConfigFile.h"
#include "model/SectionRing.h"

#include "CapturingReporter.h"
#include "MenuConfig.h"

#include <benchmark/benchmark.h>
#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kSectionCount = kMenuSectionCount;

// The generated configuration and the files the benchmarks write, all in one temporary folder.
struct Workload {
    std::string folder;
    std::string configPath; // the generated file every read benchmark reads
    std::string bytes;      // its content
    std::string oursPath;   // WriteConfigFile's target
    std::string plainPath;  // the plain write's target
    std::string plainTemp;
    std::string batchConfigPath;     // WriteBatchFile writes beside it, as batch.bat
    vl::SectionNode* ring = nullptr; // read once, for the write benchmarks
};

Workload g_work;

void RemoveFiles();

[[noreturn]] void Die(const std::string& what)
{
    std::fprintf(stderr, "vl_bench: %s\n", what.c_str());
    RemoveFiles();
    std::exit(1);
}

void WriteOrDie(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
        Die("cannot write " + path);
}

// What inih hands over, kept per section the way the reader keeps it.
struct InihSection {
    std::string name;
    std::string parent;
    std::string title;
    std::string description;
    std::string path;
};

int InihHandler(void* user, const char* section, const char* key, const char* value)
{
    auto& sections = *static_cast<std::vector<InihSection>*>(user);
    if (sections.empty() || sections.back().name != section)
        sections.push_back(InihSection{section, {}, {}, {}, {}});
    InihSection& s = sections.back();
    if (strncasecmp(key, "PAREN", 5) == 0 || strcasecmp(key, "BIOSSTR") == 0)
        s.parent = value;
    else if (strcasecmp(key, "TITLE") == 0)
        s.title = value;
    else if (strcasecmp(key, "DESCRIPTION") == 0)
        s.description = value;
    else if (strcasecmp(key, "PATH") == 0)
        s.path = value;
    else
        return 0;
    return 1;
}

// Both readers must take the whole file and agree on every value, or the comparison means nothing.
void CheckReadersAgree()
{
    std::vector<InihSection> sections;
    if (ini_parse(g_work.configPath.c_str(), InihHandler, &sections) != 0)
        Die("inih does not take the generated file");
    if (sections.size() != static_cast<std::size_t>(kSectionCount))
        Die("inih found " + std::to_string(sections.size()) + " sections");
    const vl::SectionNode* node = g_work.ring->next;
    for (const InihSection& s : sections) {
        if (node == g_work.ring)
            Die("the reader found fewer sections than inih");
        const std::string description = vl::DescriptionToFile(node->description.value_or(""));
        if (node->name != s.name || node->parent != s.parent || node->title != s.title ||
            node->path.value_or("") != s.path || description != s.description)
            Die("the readers disagree on section [" + s.name + "]");
        node = node->next;
    }
    if (node != g_work.ring)
        Die("the reader found more sections than inih");
}

void Setup()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vl_bench.XXXXXX";
    if (!mkdtemp(pattern.data()))
        Die(std::string("cannot make a temporary folder: ") + std::strerror(errno));
    g_work.folder = pattern;
    g_work.configPath = g_work.folder + "/menu.ini";
    g_work.oursPath = g_work.folder + "/ours.ini";
    g_work.plainPath = g_work.folder + "/plain.ini";
    g_work.plainTemp = g_work.folder + "/.plain.ini.tmp";
    g_work.batchConfigPath = g_work.folder + "/batch.ini";

    g_work.bytes = GenerateMenuConfig();
    if (g_work.bytes.empty())
        Die("a generated line is too long for inih");
    WriteOrDie(g_work.configPath, g_work.bytes);
    const vl::ReadResult read = vl::ReadConfigFile(g_work.configPath);
    if (!read.ring)
        Die("the reader refuses the generated file, status " + std::to_string(read.status));
    g_work.ring = read.ring;
    CheckReadersAgree();
    std::printf("Configuration: %d sections, %zu bytes, in %s\n", kSectionCount, g_work.bytes.size(),
                g_work.folder.c_str());
}

void RemoveFiles()
{
    if (g_work.folder.empty())
        return;
    for (const std::string& path : {g_work.configPath, g_work.oursPath, g_work.plainPath, g_work.plainTemp,
                                    vl::BatchPathFor(g_work.batchConfigPath)})
        unlink(path.c_str());
    if (rmdir(g_work.folder.c_str()) != 0)
        std::fprintf(stderr, "vl_bench: %s is not empty, left in place\n", g_work.folder.c_str());
    g_work.folder.clear();
}

void TearDown()
{
    vl::FreeSectionRing(g_work.ring);
    g_work.ring = nullptr;
    RemoveFiles();
}

void BM_ReadConfigFile(benchmark::State& state)
{
    for (auto _ : state) {
        vl::ReadResult read = vl::ReadConfigFile(g_work.configPath);
        if (!read.ring) {
            state.SkipWithError("ReadConfigFile failed");
            break;
        }
        benchmark::DoNotOptimize(read.ring);
        vl::FreeSectionRing(read.ring);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_work.bytes.size()));
}

void BM_InihParse(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<InihSection> sections;
        if (ini_parse(g_work.configPath.c_str(), InihHandler, &sections) != 0) {
            state.SkipWithError("ini_parse failed");
            break;
        }
        benchmark::DoNotOptimize(sections.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_work.bytes.size()));
}

void BM_WriteConfigFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (const vl::Status saved = vl::WriteConfigFile(g_work.oursPath, g_work.ring); !saved) {
            state.SkipWithError(("WriteConfigFile failed: " + saved.Reason()).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_work.bytes.size()));
}

// The text alone, without any file work: the part of a save that is the writer's own.
void BM_ComposeConfigText(benchmark::State& state)
{
    for (auto _ : state) {
        std::string bytes;
        if (!vl::ComposeConfigText(g_work.ring, bytes)) {
            state.SkipWithError("ComposeConfigText failed");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_work.bytes.size()));
}

// The least a safe save does: the same bytes to a temporary file, synced, renamed over the target.
// With syncFolder, the folder is synced after the rename as well, as WriteFileAtomically does.
void PlainAtomicWrite(benchmark::State& state, bool syncFolder)
{
    std::string bytes;
    if (!vl::ComposeConfigText(g_work.ring, bytes)) {
        state.SkipWithError("ComposeConfigText failed");
        return;
    }
    for (auto _ : state) {
        int fd = open(g_work.plainTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool ok = fd >= 0;
        const char* data = bytes.data();
        std::size_t left = bytes.size();
        while (ok && left > 0) {
            ssize_t n = write(fd, data, left);
            ok = n > 0;
            if (ok) {
                data += n;
                left -= static_cast<std::size_t>(n);
            }
        }
        ok = ok && fsync(fd) == 0;
        ok = (fd >= 0 && close(fd) == 0) && ok;
        ok = ok && rename(g_work.plainTemp.c_str(), g_work.plainPath.c_str()) == 0;
        if (ok && syncFolder) {
            int dirFd = open(g_work.folder.c_str(), O_RDONLY | O_DIRECTORY);
            ok = dirFd >= 0 && fsync(dirFd) == 0;
            if (dirFd >= 0)
                close(dirFd);
        }
        if (!ok) {
            state.SkipWithError("plain write failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_PlainAtomicWrite(benchmark::State& state)
{
    PlainAtomicWrite(state, false);
}

void BM_PlainAtomicWriteSyncFolder(benchmark::State& state)
{
    PlainAtomicWrite(state, true);
}

void BM_WriteBatchFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (const vl::Status written = vl::WriteBatchFile(g_work.batchConfigPath, g_work.ring); !written) {
            state.SkipWithError(("WriteBatchFile failed: " + written.Reason()).c_str());
            break;
        }
    }
}

// Repeated, so that one slow sync of the disk does not decide a ratio: the median counts. The saves
// and their floors take turns (see main), so that a slow spell of the disk falls on them alike.
BENCHMARK(BM_ReadConfigFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_InihParse)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteConfigFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainAtomicWrite)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainAtomicWriteSyncFolder)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ComposeConfigText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBatchFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintRatio(const CapturingReporter& reporter, const char* label, const std::string& ours,
                const std::string& other, const char* goal, bool (*met)(double))
{
    const double a = reporter.Seconds(ours);
    const double b = reporter.Seconds(other);
    if (a <= 0 || b <= 0) {
        std::printf("ratio %s: not measured (%s or %s did not run)\n", label, ours.c_str(), other.c_str());
        return;
    }
    const double ratio = a / b;
    std::printf("ratio %s = %.2f (goal %s) %s   [%.3f ms vs %.3f ms]\n", label, ratio, goal,
                met(ratio) ? "met" : "NOT MET", a * 1e3, b * 1e3);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Setup();
    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    PrintRatio(reporter, "read ours/inih", "BM_ReadConfigFile", "BM_InihParse", "< 1.0",
               [](double r) { return r < 1.0; });
    // The durable floor: write, fsync, rename, fsync of the folder, as the save does.
    PrintRatio(reporter, "write ours/durable floor", "BM_WriteConfigFile", "BM_PlainAtomicWriteSyncFolder",
               "<= 1.2", [](double r) { return r <= 1.2; });
    // Where a gap in the write would come from: the folder sync after the rename, and composing the text.
    const double floorWithoutFolder = reporter.Seconds("BM_PlainAtomicWrite");
    const double compose = reporter.Seconds("BM_ComposeConfigText");
    if (floorWithoutFolder > 0 && compose > 0)
        std::printf("the floor without the folder sync: %.3f ms; composing the text alone: %.3f ms\n",
                    floorWithoutFolder * 1e3, compose * 1e3);
    TearDown();
    return 0;
}
