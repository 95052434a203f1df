// Saves that fail part-way, folders that cannot be written, and what a save keeps of the old file.
#include "document/BatchFile.h"
#include "model/ConfigFile.h"
#include "model/TextMode.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

namespace
{

using namespace vl;
using Ring = std::unique_ptr<SectionNode, decltype([](SectionNode* n) { FreeSectionRing(n); })>;
namespace fs = std::filesystem;

// A ring whose files are several times longer than the size limit below; kept for the whole run.
const SectionNode* BigRing()
{
    static const std::string path(300, 'p');
    static const Ring ring(
        ParseConfigText("[A]\r\nPATH=" + path + "\r\n[B]\r\nDESCRIPTION=About\r\rit\r\nPATH=" + path).ring);
    return ring.get();
}

// A writer saving the configuration at a path, the file it replaces there, and what it writes for BigRing.
struct Writer {
    const char* label;
    const char* target;
    bool (*write)(const std::string& config, const SectionNode* ring, std::string* reason);
    std::string (*bytes)();
};

// clang-format off
const Writer kWriters[] = {
    {"Config", "MENU.ini", WriteConfigFile, [] { std::string b; ComposeConfigText(BigRing(), b); return b; }},
    {"Batch", "MENU.bat", WriteBatchFile, [] { return ToFileText(ComposeBatchText("MENU.ini", BigRing())); }},
};
// clang-format on

// A child runs prepare, then the writer; its exit code (0 refused, 1 written, 2 prepare failed) or -1.
int WriteInChild(const Writer& w, const std::string& config, bool (*prepare)())
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(!prepare() ? 2 : w.write(config, BigRing(), nullptr) ? 1 : 0);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SaveFault : public testing::TestWithParam<Writer>
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(mkdtemp(dir_.data()), nullptr);
        config_ = dir_ + "/MENU.ini";
        target_ = dir_ + "/" + GetParam().target;
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Put(const std::string& to, std::string_view text) { std::ofstream(to, std::ios::binary) << text; }
    long Entries(const std::string& dir) { return std::distance(fs::directory_iterator(dir), {}); }
    mode_t ModeOf(const std::string& path) { return static_cast<mode_t>(fs::status(path).permissions()); }
    std::string FileBytes(const std::string& path) const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The folder holds the writer's target alone, with these bytes: no temporary file is left.
    void ExpectAlone(const std::string& folder, const std::string& bytes)
    {
        EXPECT_EQ(FileBytes(folder + "/" + GetParam().target), bytes);
        EXPECT_EQ(Entries(folder), 1);
    }

    const std::string old_ = "[OLD]\r\nPARENT=old\r\n";
    std::string dir_ = "/tmp/vlsave.XXXXXX", config_, target_;
};

TEST_P(SaveFault, FailedSaveLeavesTheOldFile)
{
    // A directory where the file should go.
    ASSERT_EQ(mkdir(target_.c_str(), 0755), 0);
    Put(target_ + "/inside", old_);
    std::string reason;
    EXPECT_FALSE(GetParam().write(config_, BigRing(), &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(FileBytes(target_ + "/inside"), old_);
    EXPECT_EQ(Entries(target_), 1);
    EXPECT_EQ(Entries(dir_), 1);

    fs::remove_all(target_);
    Put(target_, old_);
    // A write that fails part-way: the file size limit stops it after 100 bytes.
    const int partWay = WriteInChild(GetParam(), config_, [] {
        const rlimit limit{100, 100};
        signal(SIGXFSZ, SIG_IGN);
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    ASSERT_EQ(partWay, 0) << "1: the writer reported success, 2: the size limit could not be set";
    ExpectAlone(dir_, old_);

    // A folder that cannot be written; the superuser writes anywhere, so the attempt runs as "nobody" then.
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    const int readOnly = WriteInChild(GetParam(), config_, [] {
        return geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0);
    });
    ASSERT_EQ(chmod(dir_.c_str(), 0700), 0);
    if (readOnly == 2)
        GTEST_SKIP() << "running as the superuser and cannot switch to the user nobody";
    ASSERT_EQ(readOnly, 0) << "1: the writer reported success";
    ExpectAlone(dir_, old_);
}

// An existing file keeps its mode whatever the umask; a new one (-1) gets 0666 less the umask.
TEST_P(SaveFault, ModeOfTheSavedFile)
{
    const std::pair<int, mode_t> cases[] = {{0640, 077}, {0600, 0}, {0755, 022}, {0644, 027}, {0604, 077},
                                            {-1, 022},   {-1, 077}, {-1, 0},     {-1, 027}};
    for (const auto& [mode, mask] : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << mode << " under the umask " << mask);
        fs::remove(target_);
        if (mode >= 0) {
            Put(target_, old_);
            ASSERT_EQ(chmod(target_.c_str(), static_cast<mode_t>(mode)), 0);
        }
        const mode_t before = umask(mask);
        const bool ok = GetParam().write(config_, BigRing(), nullptr);
        umask(before);
        ASSERT_TRUE(ok);
        EXPECT_EQ(ModeOf(target_), mode >= 0 ? static_cast<mode_t>(mode) : 0666 & ~mask);
        ExpectAlone(dir_, GetParam().bytes());
    }
}

TEST_P(SaveFault, SymbolicLinkIsFollowedAndStaysALink)
{
    ASSERT_EQ(mkdir((dir_ + "/real").c_str(), 0755), 0);
    const std::string real = dir_ + "/real/" + GetParam().target;
    for (const std::string& pointsTo : {std::string("real/") + GetParam().target, real}) {
        SCOPED_TRACE(pointsTo);
        fs::remove(target_);
        Put(real, old_);
        ASSERT_EQ(chmod(real.c_str(), 0640), 0);
        ASSERT_EQ(symlink(pointsTo.c_str(), target_.c_str()), 0);
        ASSERT_TRUE(GetParam().write(config_, BigRing(), nullptr));
        EXPECT_EQ(fs::read_symlink(target_).string(), pointsTo);
        EXPECT_EQ(ModeOf(real), 0640u);
        ExpectAlone(dir_ + "/real", GetParam().bytes());
        EXPECT_EQ(Entries(dir_), 2); // the link and the folder
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, SaveFault, testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
