// Fuzz target: the batch file of any configuration that parses starts the launcher, tests the
// errorlevels from the highest number down, and gives each numbered section a label that runs its
// program and ends; the file holds that text with CR LF line ends.
#include "FuzzSupport.h"
#include "document/BatchFile.h"
#include "model/ConfigFile.h"

#include <cstdint>

const char* const fuzz::kTargetName = "fuzz_batch_writer";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzz::Fail;
    const vl::ReadResult read = vl::ParseConfigText({reinterpret_cast<const char*>(data), size});
    if (!read.ring)
        return 0;
    const std::string text = vl::ComposeBatchText("VLMENU.INI", read.ring);
    std::string expected = "\tVLLaunch.exe /INI=VLMENU.INI\n\n", labels;
    int count = 0;
    for (const vl::SectionNode* node = read.ring->next; node != read.ring; node = node->next) {
        if (!vl::IsNumberedSection(*node))
            continue;
        const std::string n = std::to_string(++count);
        expected.insert(expected.find("\n\n") + 2, "\tif errorlevel " + n + " goto PROD" + n + "\n");
        labels += "\t:PROD" + n + "\n\t\t" + node->path.value_or("@echo Batch File not found...!!!") + "\n\t\tgoto end\n";
    }
    if (text.rfind("@echo off\n", 0) != 0 || text.find(expected + "\tgoto end\n\n" + labels + "\n\t:end\n") == std::string::npos ||
        text.substr(text.size() - 10) != "\n@echo on\n")
        Fail("the batch text is not the launcher, the errorlevel tests and the labels");
    const std::string config = fuzz::Folder() + "/VLMENU.INI";
    if (!vl::WriteBatchFile(config, read.ring))
        Fail("the batch file was not written");
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    if (fuzz::ReadPlain(fuzz::Folder() + "/VLMENU.bat") != crlf || access(config.c_str(), F_OK) == 0)
        Fail("the written batch file is not the text with CR LF line ends, or a configuration was written");
    unlink((fuzz::Folder() + "/VLMENU.bat").c_str());
    vl::FreeSectionRing(read.ring);
    return 0;
}
