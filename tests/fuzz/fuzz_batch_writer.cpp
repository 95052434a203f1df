// Fuzz target: the batch file of any configuration that parses starts the launcher, tests the
// errorlevels from the highest number down, and gives each numbered section a label that runs its
// program and ends.
#include "FuzzSupport.h"
#include "model/BatchFile.h"
#include "model/ConfigFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const vl::ReadResult read = vl::ParseConfigText({reinterpret_cast<const char*>(data), size});
    if (!read.ring)
        return 0;
    std::string tests = "\n", labels;
    int count = 0;
    for (const vl::SectionNode* node = read.ring->next; node != read.ring; node = node->next) {
        if (!vl::IsEntrySection(*node))
            continue;
        const std::string n = std::to_string(++count);
        tests.insert(1, "\tif errorlevel " + n + " goto PROD" + n + "\n");
        labels += "\t:PROD" + n + "\n\t\t" + node->path.value_or("@echo Batch File not found...!!!") +
                  "\n\t\tgoto end\n";
    }
    const std::string text = vl::ComposeBatchText("VLMENU.INI", read.ring);
    const std::string body =
        "VLLaunch.exe /INI=VLMENU.INI\n" + tests + "\tgoto end\n\n" + labels + "\n\t:end\n";
    if (text.rfind("@echo off\n", 0) != 0 || text.find(body) == std::string::npos ||
        !text.ends_with("\n@echo on\n"))
        fuzz::Fail("fuzz_batch_writer",
                   "the batch text is not the launcher, the errorlevel tests and the labels");
    vl::FreeSectionRing(read.ring);
    return 0;
}
