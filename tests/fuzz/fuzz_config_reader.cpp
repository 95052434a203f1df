// Fuzz target: reading a file and parsing its bytes agree; whatever the reader takes, the writer
// writes, and what it wrote reads back and writes to the same bytes.
#include "FuzzSupport.h"
#include "model/ConfigFile.h"

#include <cstdint>

const char* const fuzz::kTargetName = "fuzz_config_reader";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzz::Fail;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::Folder() + "/input.ini";
    fuzz::WritePlain(path, bytes);
    const vl::ReadResult read = vl::ReadConfigFile(path), parsed = vl::ParseConfigText(bytes);
    if (read.status != parsed.status || !read.ring != !parsed.ring)
        Fail("reading the file and parsing its bytes disagree");
    if (!read.ring && read.status != vl::kReadBadLine && read.status != vl::kReadNoSection)
        Fail("a refusal with an unknown status", std::to_string(read.status));
    std::string first, fromParsed, second;
    if (read.ring) {
        if (!vl::WriteConfigFile(path, read.ring) || !vl::ComposeConfigText(parsed.ring, fromParsed))
            Fail("the writer refused what the reader took");
        first = fuzz::ReadPlain(path);
        const vl::ReadResult again = vl::ParseConfigText(first);
        if (!again.ring)
            Fail("the reader refused what the writer wrote");
        if (!vl::ComposeConfigText(again.ring, second) || second != first || fromParsed != first)
            Fail("writing what was read gives other bytes");
        vl::FreeSectionRing(again.ring);
    }
    vl::FreeSectionRing(read.ring);
    vl::FreeSectionRing(parsed.ring);
    unlink(path.c_str());
    return 0;
}
