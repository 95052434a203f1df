// Saves that fail part-way, folders that cannot be written, and what a save keeps of the old file.
#include "document/BatchFile.h"
#include "model/AtomicFile.h"
#include "model/ConfigFile.h"
#include "model/TextMode.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vl;
namespace fs = std::filesystem;

// A ring of forty sections with long paths, some kilobytes in either file; kept for the whole run.
const SectionNode* BigRing()
{
    static const std::unique_ptr<SectionNode, void (*)(SectionNode*)> ring = [] {
        SectionNode* sentinel = CreateSectionNode(kSentinelMark, kSentinelMark, "", std::nullopt, std::nullopt);
        sentinel->next = sentinel;
        for (int i = 0; i < 40; ++i) {
            const std::string name = "Entry" + std::to_string(i);
            InsertSectionAfter(sentinel, CreateSectionNode("Velmora Products", name, name, "About\r\nit",
                                                           std::string(200, static_cast<char>('a' + i % 26))));
        }
        return std::unique_ptr<SectionNode, void (*)(SectionNode*)>(sentinel, FreeSectionRing);
    }();
    return ring.get();
}

struct Writer {
    const char* label;
    const char* target; // the file it replaces, in the folder it is given
    bool (*write)(const std::string& folder, std::string* reason);
    std::string (*bytes)(); // what it writes
};

void PrintTo(const Writer& w, std::ostream* os) { *os << w.label; }

const Writer kWriters[] = {
    {"Atomic", "MENU.ini",
     [](const std::string& folder, std::string* reason) {
         return WriteFileAtomically(folder + "/MENU.ini", std::string(65536, 'x'), reason);
     },
     [] { return std::string(65536, 'x'); }},
    {"Config", "MENU.ini",
     [](const std::string& folder, std::string* reason) {
         return WriteConfigFile(folder + "/MENU.ini", BigRing(), reason);
     },
     [] {
         std::string bytes;
         EXPECT_TRUE(ComposeConfigText(BigRing(), bytes));
         return bytes;
     }},
    {"Batch", "MENU.bat",
     [](const std::string& folder, std::string* reason) {
         return WriteBatchFile(folder + "/MENU.ini", BigRing(), reason);
     },
     [] { return ToFileText(ComposeBatchText("MENU.ini", BigRing())); }},
};

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Runs the writer in a child process after prepare; the child's exit code, or -1 when it did not exit.
// prepare returns false when the child cannot be set up, which the child reports with code 2.
int WriteInChild(const Writer& w, const std::string& folder, bool (*prepare)())
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (!prepare())
            _exit(2);
        _exit(w.write(folder, nullptr) ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class SaveFault : public testing::TestWithParam<Writer> {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/vlsave.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
        target_ = dir_ + "/" + GetParam().target;
    }
    void TearDown() override
    {
        chmod(dir_.c_str(), 0700);
        fs::remove_all(dir_);
    }
    void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    const std::string old_ = "[OLD]\r\nPARENT=old\r\n";
    std::string dir_, target_;
};

TEST_P(SaveFault, WriteThatFailsPartWayLeavesTheOldFile)
{
    Put(target_, old_);
    const int code = WriteInChild(GetParam(), dir_, [] {
        const rlimit limit{100, 100};
        signal(SIGXFSZ, SIG_IGN);
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    ASSERT_EQ(code, 0) << "1: the writer reported success, 2: the size limit could not be set";
    EXPECT_EQ(FileBytes(target_), old_);
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{GetParam().target});
}

TEST_P(SaveFault, FolderThatCannotBeWrittenLeavesTheOldFile)
{
    const std::string folder = dir_ + "/ro";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    Put(folder + "/" + GetParam().target, old_);
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    // The superuser writes into any folder: the attempt runs as "nobody" then.
    const int code = WriteInChild(GetParam(), folder, [] {
        if (geteuid() != 0)
            return true;
        return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
    });
    chmod(folder.c_str(), 0755);
    if (code == 2)
        GTEST_SKIP() << "running as the superuser and cannot switch to the user nobody";
    ASSERT_EQ(code, 0) << "1: the writer reported success";
    EXPECT_EQ(FileBytes(folder + "/" + GetParam().target), old_);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{GetParam().target});
}

TEST_P(SaveFault, DirectoryWhereTheFileShouldGoIsLeftAlone)
{
    ASSERT_EQ(mkdir(target_.c_str(), 0755), 0);
    Put(target_ + "/inside", old_);
    std::string reason;
    EXPECT_FALSE(GetParam().write(dir_, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(fs::is_directory(target_));
    EXPECT_EQ(FileBytes(target_ + "/inside"), old_);
    EXPECT_EQ(Entries(target_), std::vector<std::string>{"inside"});
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{GetParam().target});
}

TEST_P(SaveFault, ExistingFileKeepsItsPermissionBits)
{
    for (mode_t mode : {0640, 0600, 0755, 0444, 0604}) {
        SCOPED_TRACE(mode);
        fs::remove(target_);
        Put(target_, old_);
        ASSERT_EQ(chmod(target_.c_str(), mode), 0);
        ASSERT_TRUE(GetParam().write(dir_, nullptr));
        EXPECT_EQ(ModeOf(target_), mode);
        EXPECT_EQ(FileBytes(target_), GetParam().bytes());
        EXPECT_EQ(Entries(dir_), std::vector<std::string>{GetParam().target});
    }
}

TEST_P(SaveFault, NewFileGetsTheDefaultMode)
{
    for (mode_t mask : {022, 077, 0, 027}) {
        SCOPED_TRACE(mask);
        fs::remove(target_);
        const mode_t before = umask(mask);
        const bool ok = GetParam().write(dir_, nullptr);
        umask(before);
        ASSERT_TRUE(ok);
        EXPECT_EQ(ModeOf(target_), 0666 & ~mask);
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
        ASSERT_TRUE(GetParam().write(dir_, nullptr));
        EXPECT_TRUE(fs::is_symlink(target_));
        EXPECT_EQ(fs::read_symlink(target_).string(), pointsTo);
        EXPECT_EQ(FileBytes(real), GetParam().bytes());
        EXPECT_EQ(ModeOf(real), 0640u);
        EXPECT_EQ(Entries(dir_ + "/real"), std::vector<std::string>{GetParam().target});
        EXPECT_EQ(Entries(dir_), (std::vector<std::string>{GetParam().target, "real"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, SaveFault, testing::ValuesIn(kWriters),
                         [](const testing::TestParamInfo<Writer>& info) { return std::string(info.param.label); });

} // namespace
