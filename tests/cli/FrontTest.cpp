// The vlconfig front as a desktop entry and a build script start it: a file name goes to the window
// program, a mode ends with the worst status of its files.
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

// Beside a copy of vlconfig, a stand-in window program notes what it is started with. A mode ends
// with the worst status among its files, in whatever order they come.
TEST_F(Front, theWindowProgramGetsAllButTheModesWhichEndWithTheirWorstStatus)
{
    ASSERT_EQ(Sh(std::string("cp ") + VLCONFIG_PROGRAM +
                 " vlconfig && printf '#!/bin/sh\\necho \"$*\" >started\\n' >vlconfig-gui && chmod +x "
                 "vlconfig-gui"),
              0);
    std::ofstream(m_folder / "good.ini")
        << "[GENERAL]\nPARENT=GENERAL\nTITLE=S\nPATH=\nDESCRIPTION=d\n"
           "[T]\nPARENT=Velmora Products\nTITLE=T\nPATH=T.BAT\nDESCRIPTION=t\n";
    std::ofstream(m_folder / "bad.ini") << "[GENERAL]\nTITL=x\n";
    const struct {
        const char* arguments;
        const char* started; // what the window program was given; empty: not started
        int status = 0;
    } rows[] = {
        {.arguments = "A.ini", .started = "A.ini"},
        {.arguments = "/Unregister", .started = "/Unregister"},
        {.arguments = "-- --check", .started = "-- --check"},
        {.arguments = "--check good.ini", .started = ""},
        {.arguments = "--check bad.ini good.ini", .started = "", .status = 1},
        {.arguments = "--write-batch good.ini bad.ini", .started = "", .status = 1},
        {.arguments = "--check none.ini bad.ini good.ini", .started = "", .status = 2},
        {.arguments = "--write-batch bad.ini none.ini", .started = "", .status = 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        EXPECT_EQ(Sh(std::string("rm -f started; QT_QPA_PLATFORM=offscreen ./vlconfig ") + row.arguments +
                     " >/dev/null 2>&1"),
                  row.status);
        EXPECT_EQ(Sh(std::string("test \"$(cat started 2>/dev/null)\" = '") + row.started + "'"), 0);
    }
}

} // namespace
