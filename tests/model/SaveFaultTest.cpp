// Saves that fail part-way or cannot be written leave the old file; a save keeps the file's mode and
// its symbolic link.
#include "document/BatchFile.h"
#include "model/ModelSupport.h"
#include "model/TextMode.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace
{
using namespace vl;
namespace fs = std::filesystem;
using Write = bool (*)(const std::string& config, const SectionNode* ring, std::string* reason);

// Files several times longer than the size limit below.
const vltest::Ring kBig = vltest::MakeRing({{"p", "A", "t", "d", std::string(300, 'p')}, {"p", "B", "", std::nullopt, std::string(300, 'q')}});

class SaveFault : public testing::TestWithParam<std::pair<Write, const char*>>
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(mkdtemp(m_dir.data()), nullptr);
        m_config = m_dir + "/MENU.ini";
        m_target = m_dir + "/" + GetParam().second;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    // A child runs prepare, then the writer: 0 refused, 1 written, 2 prepare failed.
    int WriteInChild(bool (*prepare)())
    {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(!prepare() ? 2 : GetParam().first(m_config, kBig.get(), nullptr) ? 1 : 0);
        int status = 0;
        return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void Put(const std::string& path) { std::ofstream(path, std::ios::binary) << m_old; }
    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The folder holds one file, with these bytes: no temporary file is left behind.
    void ExpectAlone(const std::string& folder, const std::string& bytes)
    {
        EXPECT_EQ(Bytes(folder + "/" + GetParam().second), bytes);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    }
    std::string Written() const
    {
        std::string config;
        ComposeConfigText(kBig.get(), config);
        return GetParam().second[5] == 'i' ? config : ToFileText(ComposeBatchText("MENU.ini", kBig.get()));
    }
    std::string m_dir = "/tmp/vlsave.XXXXXX", m_config, m_target;
    const std::string m_old = "[OLD]\r\n";
};

TEST_P(SaveFault, FailedSavesLeaveTheOldFile)
{
    Put(m_target);
    // The file size limit stops the write after 100 bytes.
    ASSERT_EQ(WriteInChild([] {
                  const rlimit limit{100, 100};
                  signal(SIGXFSZ, SIG_IGN);
                  return setrlimit(RLIMIT_FSIZE, &limit) == 0;
              }),
              0);
    ExpectAlone(m_dir, m_old);
    // A folder that cannot be written: the superuser writes anywhere, so the attempt runs as "nobody".
    ASSERT_EQ(chmod(m_dir.c_str(), 0555), 0);
    const int readOnly = WriteInChild(
        [] { return geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0); });
    ASSERT_EQ(chmod(m_dir.c_str(), 0700), 0);
    ASSERT_NE(readOnly, 2) << "cannot switch to the user nobody";
    EXPECT_EQ(readOnly, 0);
    ExpectAlone(m_dir, m_old);
}

TEST_P(SaveFault, ModeAndLinkAreKept)
{
    for (const auto& [mode, mask] : {std::pair<mode_t, mode_t>{0640, 077}, {0444, 027}, {0, 027}}) {
        fs::remove(m_target);
        if (mode) {
            Put(m_target);
            chmod(m_target.c_str(), mode);
        }
        const mode_t before = umask(mask);
        EXPECT_TRUE(GetParam().first(m_config, kBig.get(), nullptr));
        umask(before);
        EXPECT_EQ(static_cast<mode_t>(fs::status(m_target).permissions()), mode ? mode : 0666 & ~mask);
        ExpectAlone(m_dir, Written());
    }
    fs::remove(m_target);
    fs::create_directory(m_dir + "/real");
    Put(m_dir + "/real/" + GetParam().second);
    fs::create_symlink(std::string("real/") + GetParam().second, m_target);
    ASSERT_TRUE(GetParam().first(m_config, kBig.get(), nullptr));
    EXPECT_TRUE(fs::is_symlink(m_target));
    ExpectAlone(m_dir + "/real", Written());
}

INSTANTIATE_TEST_SUITE_P(Writers, SaveFault,
                         testing::Values(std::pair<Write, const char*>{WriteConfigFile, "MENU.ini"},
                                         std::pair<Write, const char*>{WriteBatchFile, "MENU.bat"}),
                         [](const auto& info) { return std::string(info.param.second[5] == 'i' ? "Config" : "Batch"); });

} // namespace
