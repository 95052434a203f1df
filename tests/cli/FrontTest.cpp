// The vlconfig front as a desktop entry and a build script start it: a file name goes to the window
// program, the modes end with the worst status of their files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace
{

namespace fs = std::filesystem;

class Front : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(mkdtemp(m_name), nullptr);
        m_folder = m_name;
    }
    void TearDown() override { fs::remove_all(m_folder); }
    // Runs the shell command in the folder; its exit status.
    int Sh(const std::string& command)
    {
        const int status = std::system(("cd " + m_folder.string() + " && " + command).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    char m_name[32] = "/tmp/vl_front_test.XXXXXX";
    fs::path m_folder;
};

// Beside a copy of vlconfig, a stand-in window program notes what it was started with.
TEST_F(Front, anythingButAModeStartsTheWindowProgramWithTheSameArguments)
{
    ASSERT_EQ(Sh(std::string("cp ") + VLCONFIG_PROGRAM +
                 " vlconfig && printf '#!/bin/sh\\necho \"$*\" >>started\\n' "
                 ">vlconfig-gui && chmod +x vlconfig-gui"),
              0);
    const struct {
        const char* arguments;
        const char* started; // what the window program was given; empty: not started
    } rows[] = {
        {.arguments = "A.ini", .started = "A.ini"},
        {.arguments = "/Unregister", .started = "/Unregister"},
        {.arguments = "-- --check", .started = "-- --check"},
        {.arguments = "--check A.ini", .started = ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        Sh(std::string("rm -f started; QT_QPA_PLATFORM=offscreen ./vlconfig ") + row.arguments +
           " >/dev/null 2>&1");
        EXPECT_EQ(Sh(std::string("test \"$(cat started 2>/dev/null)\" = '") + row.started + "'"), 0);
    }
}

// --check and --write-batch end with the worst status among their files, in whatever order.
TEST_F(Front, modesEndWithTheWorstStatusOfTheirFiles)
{
    std::ofstream(m_folder / "good.ini")
        << "[GENERAL]\nPARENT=GENERAL\nTITLE=S\nPATH=\nDESCRIPTION=d\n"
           "[T]\nPARENT=Velmora Products\nTITLE=T\nPATH=T.BAT\nDESCRIPTION=t\n";
    std::ofstream(m_folder / "bad.ini") << "[GENERAL]\nTITL=x\n";
    const struct {
        const char* files;
        int status;
    } rows[] = {
        {.files = "good.ini", .status = 0},         {.files = "bad.ini good.ini", .status = 1},
        {.files = "good.ini bad.ini", .status = 1}, {.files = "none.ini bad.ini good.ini", .status = 2},
        {.files = "bad.ini none.ini", .status = 2},
    };
    for (const auto& row : rows)
        for (const char* mode : {"--check ", "--write-batch "})
            EXPECT_EQ(Sh(std::string(VLCONFIG_PROGRAM) + " " + mode + row.files + " >/dev/null"), row.status)
                << mode << row.files;
}

} // namespace
