// The command-line modes as a build script runs them, and the vlconfig front as a desktop entry starts
// it: the vlconfig program, started with no display, on small files in a temporary folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace
{

namespace fs = std::filesystem;

class CommandLineModes : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(mkdtemp(m_name), nullptr);
        m_folder = m_name;
    }
    void TearDown() override { fs::remove_all(m_folder); }
    void Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }
    // Runs vlconfig in the folder: its output (standard error joined to it unless dropped) and status.
    std::pair<std::string, int> Run(const std::string& arguments, const char* errors = "2>&1")
    {
        const std::string command = "cd " + m_folder.string() +
                                    " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                    VLCONFIG_PROGRAM + " " + arguments + " " + errors;
        FILE* pipe = popen(command.c_str(), "r");
        std::string output;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        const int status = pclose(pipe);
        return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
    // Runs the shell command in the folder; its exit status.
    int Sh(const std::string& command)
    {
        const int status = std::system(("cd " + m_folder.string() + " && " + command).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    char m_name[24] = "/tmp/vl_cli_test.XXXXXX";
    fs::path m_folder;
};

const std::string kGeneral = "[GENERAL]\nPARENT=GENERAL\nTITLE=Service\nPATH=\nDESCRIPTION=Pick one\n";
const std::string kTools = "[Tools]\nPARENT=Velmora Products\nTITLE=Tools\nPATH=TOOLS.BAT\nDESCRIPTION=All\n";

TEST_F(CommandLineModes, checkReportsEachProblemOnItsLineAndWriteBatchRefusesWhatSaveRefuses)
{
    // A PCX header of version 5, named "logo.pcx" below: found as DOS finds it, then refused.
    Write("LOGO.PCX", std::string("\0\5", 2) + std::string(126, '\0'));
    const std::string longLine = ";" + std::string(1022, 'x') + "\n";
    // A clean file gets its batch file, and so does one whose problems Save lets through; the others'
    // lines are the same for both modes.
    const struct {
        const char* name;
        std::string bytes;
        const char* lines;
        int status;
        bool savable = false;
    } cases[] = {
        {"good.ini", kGeneral + kTools + "; Windows-1252 text, as the launcher reads it: Caf\xe9\n", "", 0},
        {"missing.ini",
         {},
         "missing.ini: File not found in the given location or Unable to open the file\n",
         2},
        {"ninechars.ini", kGeneral + kTools,
         "ninechars.ini: File name should be less than eight charachers\n", 1},
        {"bad.ini", "[GENERAL]\nTITL=x\n",
         "bad.ini:2: This file is not containing any valid keys to read..!!\n", 1},
        {"long.ini", "[A]\n" + longLine + "\n" + longLine,
         "long.ini:2: This line is longer than the launcher reads (1022 bytes).\n"
         "long.ini:4: This line is longer than the launcher reads (1022 bytes).\n",
         1},
        {"empty.ini", "; nothing\n", "empty.ini: This is an empty file ..!\n", 1},
        {"misc.ini", kGeneral + "[MISC]\nBIOSSTR=X1\n",
         "misc.ini: There are no products listed under \"Velmora Products\" heading. You must add "
         "one or more products before you can save.\n",
         1},
        {"fields.ini",
         "[GENERAL]\nPARENT=GENERAL\nTITLE=" + std::string(19, 'T') + "\nPATH=logo.pcx\nDESCRIPTION=\n\n[" +
             std::string(52, 'N') + "]\nPARENT=Velmora Products\nTITLE=" + std::string(64, 't') +
             "\nPATH=\nDESCRIPTION=" + std::string(241, 'd') + "\n",
         "fields.ini:3: Please enter the title less than 19 characters\n"
         "fields.ini:4: The specified file is not a valid PCX Version 2 image.\n"
         "fields.ini:5: Please enter the description less than 180 characters\n"
         "fields.ini:7: Please enter the product label less than 50 characters\n"
         "fields.ini:9: Please enter the title less than 50 characters\n"
         "fields.ini:10: Please enter the valid file path\n"
         "fields.ini:11: Please enter the description less than 180 characters\n",
         1},
        {"paths.ini",
         "[GENERAL]\nPARENT=GENERAL\nTITLE=S\nPATH=/home/me/L.PCX\nDESCRIPTION=d\n" + kTools +
             "PATH=~/RUN.EXE\n",
         "paths.ini:4: This is a Linux path; the launcher reads paths on its medium in DOS form (LOGO.PCX, "
         "TOOLS\\RUN.EXE).\n"
         "paths.ini:11: This is a Linux path; the launcher reads paths on its medium in DOS form (LOGO.PCX, "
         "TOOLS\\RUN.EXE).\n",
         1, true},
        {"bom.ini",
         "\xEF\xBB\xBF[GENERAL]\nPARENT=GENERAL\nTITLE=Caf\xC3\xA9\nDESCRIPTION=\xE2\x82\xAC\n" + kTools,
         "bom.ini:1: The file starts with a UTF-8 byte-order mark, which the launcher reads as part of its "
         "first line.\n"
         "bom.ini:3: This line holds UTF-8 text, as a Linux editor writes it; the launcher shows "
         "Windows-1252 text.\n",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty())
            Write(c.name, c.bytes);
        const auto refused = std::pair(std::string(c.lines), c.status);
        EXPECT_EQ(Run(std::string("--check ") + c.name), refused);
        EXPECT_EQ(Run(std::string("--write-batch ") + c.name),
                  c.savable ? std::pair(std::string(), 0) : refused);
        EXPECT_EQ(fs::exists(m_folder / fs::path(c.name).replace_extension(".bat")),
                  c.status == 0 || c.savable);
    }
}

TEST_F(CommandLineModes, writtenAndPrintedBatchFilesHoldTheLauncherLadder)
{
    Write("MENU.ini", kGeneral + "[MISC]\nBIOSSTR=X1\n[A]\nPARENT=Velmora Products\nTITLE=A\nPATH=A.EXE\n" +
                          "DESCRIPTION=a\n[B]\nPARENT=Velmora Products\nTITLE=B\nDESCRIPTION=b\n[C]\n" +
                          "PARENT=Velmora Products\nTITLE=C\nPATH=C:\\X\\B.BAT\nDESCRIPTION=c\n");
    const std::string expected =
        "@echo off\r\nREM This part of the source is generated by MenuSmith.exe\r\nREM Date:\r\n\r\n"
        "\tMouse\r\n\tVLLaunch.exe /INI=MENU.ini\r\n\r\n\tif errorlevel 3 goto PROD3\r\n"
        "\tif errorlevel 2 goto PROD2\r\n\tif errorlevel 1 goto PROD1\r\n\tgoto end\r\n\r\n\t:PROD1\r\n"
        "\t\tA.EXE\r\n\t\tgoto end\r\n\t:PROD2\r\n\t\t@echo Batch File not found...!!!\r\n\t\tgoto end\r\n"
        "\t:PROD3\r\n\t\tC:\\X\\B.BAT\r\n\t\tgoto end\r\n\r\n\t:end\r\n\t@echo Done :)\r\n@echo on\r\n";

    // Save lets an entry without a program through; --check names it all the same.
    EXPECT_EQ(Run("--check MENU.ini").first, "MENU.ini:13: Please enter the valid file path\n");
    EXPECT_EQ(Run("--print-batch MENU.ini", "2>/dev/null"), std::pair(expected, 0));
    EXPECT_FALSE(fs::exists(m_folder / "MENU.bat")); // printing writes nothing
    EXPECT_EQ(Run("--write-batch MENU.ini"), std::pair(std::string(), 0));
    std::ifstream written(m_folder / "MENU.bat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), expected);
}

TEST_F(CommandLineModes, helpVersionAndUsageErrorsNeedNoDisplay)
{
    const auto [help, status] = Run("--help");
    EXPECT_EQ(status, 0);
    for (const char* part : {"--check FILE...", "--write-batch FILE...", "--print-batch FILE",
                             "--make-logo PICTURE [OUT.PCX]", "/usr/share/vlconfig/"})
        EXPECT_NE(help.find(part), std::string::npos) << part;
    EXPECT_EQ(Run("--version").second, 0);
    EXPECT_EQ(Run("--print-batch a.ini b.ini").second, 2);
    // The window program, with nowhere to show it.
    EXPECT_EQ(Run("MENU.ini"),
              std::pair(std::string("vlconfig: no display to show the window on (neither DISPLAY nor "
                                    "WAYLAND_DISPLAY is set); without a window, use --check, "
                                    "--write-batch or --print-batch\n"),
                        2));
}

// A picture becomes a version 2 PCX logo of at most 120 by 120 beside it, never over another file
// unless that file is named; what is no picture, or cannot be written, is refused.
TEST_F(CommandLineModes, makeLogoWithoutADisplay)
{
    Write("Mark 2.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='100'>"
                        "<rect width='300' height='100' fill='teal'/></svg>");
    Write("notes.png", "Remember the logo");
    const struct {
        const char* arguments;
        int status;
        const char* made; // and its first 12 bytes: version 2, RLE, 1 bit, Xmax 119, Ymax 39
    } runs[] = {
        {"--make-logo 'Mark 2.svg'", 0, "MARK2.PCX"},
        {"--make-logo 'Mark 2.svg'", 1, nullptr}, // MARK2.PCX is there now
        {"--make-logo 'Mark 2.svg' MARK2.PCX", 0, "MARK2.PCX"},
        {"--make-logo notes.png", 1, nullptr},
        {"--make-logo 'Mark 2.svg' no/such/LOGO.PCX", 1, nullptr},
        {"--make-logo", 2, nullptr},
        {"--make-logo a.png b.pcx c.pcx", 2, nullptr},
    };
    for (const auto& run : runs) {
        const auto [output, status] = Run(run.arguments, "2>/dev/null");
        EXPECT_EQ(status, run.status) << run.arguments;
        if (!run.made)
            continue;
        EXPECT_EQ(output, std::string(run.made) + "\n");
        std::ifstream made(m_folder / run.made, std::ios::binary);
        std::string header(12, '\0');
        made.read(header.data(), 12);
        EXPECT_EQ(header, std::string("\x0A\x02\x01\x01\0\0\0\0\x77\0\x27\0", 12)) << run.arguments;
    }
}

// Beside a copy of vlconfig, a stand-in window program notes what it is started with. A mode ends
// with the worst status among its files, in whatever order they come.
TEST_F(CommandLineModes, theWindowProgramGetsAllButTheModesWhichEndWithTheirWorstStatus)
{
    ASSERT_EQ(Sh(std::string("cp ") + VLCONFIG_PROGRAM +
                 " vlconfig && printf '#!/bin/sh\\necho \"$*\" >started\\n' >vlconfig-gui && chmod +x "
                 "vlconfig-gui"),
              0);
    Write("good.ini", kGeneral + kTools);
    Write("bad.ini", "[GENERAL]\nTITL=x\n");
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
