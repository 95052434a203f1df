// Fuzz target: the batch file of any configuration that parses keeps its frame, labels and jumps.
#include "FuzzSupport.h"
#include "document/BatchFile.h"
#include "model/ConfigFile.h"
#include "model/SectionRing.h"
#include "model/TextMode.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace fuzz
{
const char* const kTargetName = "fuzz_batch_writer";
} // namespace fuzz

namespace
{

using fuzz::Fail;
using fuzz::Folder;
using fuzz::ReadPlain;

constexpr std::string_view kConfigName = "VLMENU.INI";

// Each LF preceded by a CR, every other byte as it is.
std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

void CheckText(const std::string& text, const vl::SectionNode* ring)
{
    if (!StartsWith(text, "@echo off\n"))
        Fail("the batch text does not start with \"@echo off\"");
    if (!EndsWith(text, "\n@echo on\n"))
        Fail("the batch text does not end with \"@echo on\"");
    if (text.find("VLLaunch.exe /INI=" + std::string(kConfigName) + "\n") == std::string::npos)
        Fail("the batch text does not start the launcher with the configuration's name");

    std::vector<const vl::SectionNode*> numbered;
    for (const vl::SectionNode* node = ring->next; node != ring; node = node->next) {
        if (vl::IsNumberedSection(*node))
            numbered.push_back(node);
    }
    const size_t count = numbered.size();

    // The jumps run from the highest number down to 1, the labels from 1 up, each label followed by
    // its section's path (or the notice for a section without one) and the jump to the end.
    const std::vector<std::string_view> lines = SplitLines(text);
    size_t labels = 0;
    size_t jumps = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (StartsWith(line, "\tif errorlevel ")) {
            const std::string n = std::to_string(count - jumps);
            if (jumps >= count || line != "\tif errorlevel " + n + " goto PROD" + n)
                Fail("unexpected jump line", std::string(line));
            ++jumps;
        } else if (StartsWith(line, "\t:PROD")) {
            if (labels >= count || line != "\t:PROD" + std::to_string(labels + 1))
                Fail("unexpected label line", std::string(line));
            const vl::SectionNode* node = numbered[labels];
            const std::string command =
                node->path ? "\t\t" + *node->path : std::string("\t\t@echo Batch File not found...!!!");
            if (i + 2 >= lines.size() || lines[i + 1] != command || lines[i + 2] != "\t\tgoto end")
                Fail("a label is not followed by its section's command", std::string(line));
            ++labels;
            i += 2;
        }
    }
    if (labels != count)
        Fail("the number of :PROD labels is not the number of numbered sections",
             std::to_string(labels) + " vs " + std::to_string(count));
    if (jumps != count)
        Fail("the number of jumps is not the number of numbered sections",
             std::to_string(jumps) + " vs " + std::to_string(count));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vl::ReadResult read = vl::ParseConfigText(bytes);
    if (!read.ring)
        return 0;

    const std::string text = vl::ComposeBatchText(kConfigName, read.ring);
    if (text.empty())
        Fail("no batch text for a ring with sections");
    CheckText(text, read.ring);

    const std::string configPath = Folder() + "/" + std::string(kConfigName);
    const std::string batchPath = vl::BatchPathFor(configPath);
    if (batchPath != Folder() + "/VLMENU.bat")
        Fail("unexpected batch path", batchPath);
    std::string reason;
    if (!vl::WriteBatchFile(configPath, read.ring, &reason))
        Fail("the batch file was not written", reason);
    const std::string written = ReadPlain(batchPath);
    if (written != vl::ToFileText(text) || written != WithCrLf(text))
        Fail("the written batch file is not the composed text with CR LF line ends");
    if (access(configPath.c_str(), F_OK) == 0)
        Fail("writing the batch file made a configuration file");

    unlink(batchPath.c_str());
    vl::FreeSectionRing(read.ring);
    return 0;
}
