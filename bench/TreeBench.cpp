// Benchmarks of the Product page's tree over 5,000 entries: BuildTree and Move Down against a direct fill.
#include "document/CVLConfigDoc.h"
#include "model/ConfigFile.h"
#include "pages/CVLProdView.h"
#include "pages/ProductTree.h"
#include "pages/ProductTreeModel.h"
#include "platform/MessageService.h"

#include "CapturingReporter.h"
#include <QApplication>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kEntryCount = 5000;
constexpr int kGroupCount = 50;
// The entry that Move Down moves: in the middle of a group in the middle of the tree.
constexpr int kMovedGroup = 25;
constexpr int kMovedRow = 50;

[[noreturn]] void Die(const std::string& what)
{
    std::fprintf(stderr, "vl_tree_bench: %s\n", what.c_str());
    std::exit(1);
}

// The frame, as far as the page needs one.
class NullHost : public vl::PageHost
{
  public:
    void SwitchPage(int) override {}
    void SetStatusPrompt(const QString&) override {}
    void FitFrameToPage(QWidget*) override {}
    void UpdateCommands() override {}
};

// The general section, MISC, then the entries, the groups taking turns: entry i belongs to group i % 50.
std::string GenerateConfig()
{
    std::string text;
    text.reserve(1 << 20);
    text +=
        "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Service Menu\r\nPATH=\r\nDESCRIPTION=Choose a tool.\r\n\r\n";
    text += "[MISC]\r\nBIOSSTR=BIOS 4.06\r\n\r\n";
    char buffer[512];
    for (int i = 0; i < kEntryCount; ++i) {
        std::snprintf(
            buffer, sizeof buffer,
            "[ENTRY%04d]\r\nPARENT=Group %02d\r\nTITLE=Recovery Tool %d\r\nPATH=C:\\TOOLS\\RUN%04d.BAT /Q\r\n"
            "DESCRIPTION=Restores the drivers of this model.\r\rRestart when it has finished.\r\n\r\n",
            i, i % kGroupCount, i, i);
        text += buffer;
    }
    return text;
}

struct Workload {
    std::unique_ptr<vl::CVLConfigDoc> document;
    NullHost host;
    std::unique_ptr<vl::CVLProdView> view;
    platform::ScriptedMessageService messages;
    // What the tree shows, worked out beforehand: the groups in order, and each group's entries.
    std::vector<QString> groups;
    std::vector<std::vector<QString>> entries;
};

Workload* g_work = nullptr;

void CheckTree(const char* after)
{
    QStandardItemModel* model = g_work->view->Model();
    if (model->rowCount() != kGroupCount)
        Die(std::string("after ") + after + " the tree has " + std::to_string(model->rowCount()) + " groups");
    for (int g = 0; g < kGroupCount; ++g) {
        const QModelIndex group = model->index(g, 0);
        if (group.data().toString() != g_work->groups[g] ||
            model->rowCount(group) != static_cast<int>(g_work->entries[g].size()))
            Die(std::string("after ") + after + " group " + std::to_string(g) + " is not as expected");
    }
}

void Setup()
{
    g_work = new Workload;
    platform::SetMessageService(&g_work->messages);
    const std::string bytes = GenerateConfig();
    const vl::ReadResult read = vl::ParseConfigText(bytes);
    if (!read.ring)
        Die("the reader refuses the generated configuration, status " + std::to_string(read.status));

    g_work->groups.resize(kGroupCount);
    g_work->entries.resize(kGroupCount);
    char name[32];
    for (int g = 0; g < kGroupCount; ++g) {
        std::snprintf(name, sizeof name, "Group %02d", g);
        g_work->groups[g] = QString::fromLatin1(name);
    }
    for (int i = 0; i < kEntryCount; ++i) {
        std::snprintf(name, sizeof name, "ENTRY%04d", i);
        g_work->entries[i % kGroupCount].push_back(QString::fromLatin1(name));
    }

    g_work->document = std::make_unique<vl::CVLConfigDoc>();
    g_work->document->m_pRing = read.ring;
    g_work->view = std::make_unique<vl::CVLProdView>(g_work->document.get(), &g_work->host);
    g_work->view->show();
    g_work->view->OnInitialUpdate();
    QCoreApplication::processEvents();
    CheckTree("the first BuildTree");
    std::printf("Product tree: %d entries in %d groups, plus GENERAL and MISC\n", kEntryCount, kGroupCount);
}

void CheckNoMessages()
{
    if (!g_work->messages.Pending().isEmpty() || !g_work->messages.Unexpected().isEmpty())
        Die("the page showed a message: " +
            g_work->messages.TakeTexts().join(QStringLiteral(" | ")).toStdString());
}

void TearDown()
{
    CheckNoMessages();
    g_work->view.reset();
    g_work->document.reset(); // frees the ring
    platform::SetMessageService(nullptr);
    delete g_work;
    g_work = nullptr;
}

// The time this thread spent on the CPU, in seconds: the measured work never waits, so this is its
// wall-clock time on an idle machine, and other work on a busy one does not count.
double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Each iteration is timed alone; the queued work of the tree view (layout, painting) runs between
// iterations, untimed, as it would between two commands of the user.
void BM_BuildTree(benchmark::State& state)
{
    for (auto _ : state) {
        QCoreApplication::processEvents();
        const double start = ThreadSeconds();
        g_work->view->BuildTree();
        state.SetIterationTime(ThreadSeconds() - start);
    }
    CheckTree("BuildTree");
    CheckNoMessages();
}

// The same items into the same model and view, from lists made beforehand: no search, no conversion.
void BM_DirectFill(benchmark::State& state)
{
    QStandardItemModel* model = g_work->view->Model();
    auto* selection = static_cast<vl::ProductSelectionModel*>(g_work->view->Tree()->selectionModel());
    for (auto _ : state) {
        QCoreApplication::processEvents();
        const double start = ThreadSeconds();
        selection->SetBypass(true);
        model->clear();
        selection->SetBypass(false);
        for (std::size_t g = 0; g < g_work->groups.size(); ++g) {
            auto* group = new QStandardItem(g_work->groups[g]);
            model->appendRow(group);
            for (const QString& entry : g_work->entries[g])
                group->appendRow(new QStandardItem(entry));
        }
        g_work->view->Tree()->expand(model->index(0, 0));
        state.SetIterationTime(ThreadSeconds() - start);
    }
    CheckTree("the direct fill");
    // Leave the page's own tree in place for what follows.
    g_work->view->BuildTree();
}

// One Move Down of an entry in the middle of the tree; the entry is selected beforehand, untimed.
// The moved entry and the one below it swap places, so every iteration does the same work.
void BM_MoveEntryDown(benchmark::State& state)
{
    QStandardItemModel* model = g_work->view->Model();
    QTreeView* tree = g_work->view->Tree();
    for (auto _ : state) {
        QCoreApplication::processEvents();
        const QModelIndex group = model->index(kMovedGroup, 0);
        const QModelIndex entry = model->index(kMovedRow, 0, group);
        tree->selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
        if (tree->currentIndex() != entry) {
            state.SkipWithError("the entry to move cannot be selected");
            break;
        }
        const QString moved = entry.data().toString();

        const double start = ThreadSeconds();
        g_work->view->MoveEntryDown();
        state.SetIterationTime(ThreadSeconds() - start);

        const QModelIndex now = tree->currentIndex();
        if (now.row() != kMovedRow + 1 || now.parent().row() != kMovedGroup ||
            now.data().toString() != moved) {
            state.SkipWithError("Move Down did not move the entry one place down");
            break;
        }
    }
    CheckTree("Move Down");
    CheckNoMessages();
}

void PrintRatio(const CapturingReporter& reporter, const char* label, const std::string& ours,
                const std::string& other)
{
    const double a = reporter.Seconds(ours);
    const double b = reporter.Seconds(other);
    if (a <= 0 || b <= 0) {
        std::printf("ratio %s: not measured (%s or %s did not run)\n", label, ours.c_str(), other.c_str());
        return;
    }
    std::printf("ratio %s = %.2f   [%.3f ms vs %.3f ms]\n", label, a / b, a * 1e3, b * 1e3);
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen, whatever the caller's display: the tree is measured, not the window system.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Setup();

    for (auto [name, function] :
         {std::pair{"BM_BuildTree", &BM_BuildTree}, std::pair{"BM_DirectFill", &BM_DirectFill},
          std::pair{"BM_MoveEntryDown", &BM_MoveEntryDown}}) {
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\n");
    PrintRatio(reporter, "tree BuildTree/direct", "BM_BuildTree", "BM_DirectFill");
    PrintRatio(reporter, "tree MoveDown/direct", "BM_MoveEntryDown", "BM_DirectFill");
    TearDown();
    return 0;
}
