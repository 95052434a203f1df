// Fuzz target: whatever the reader takes, the writer writes, and what it wrote reads back and
// writes to the same bytes; what it refuses has a known status.
#include "FuzzSupport.h"
#include "model/ConfigFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const vl::ReadResult read = vl::ParseConfigText({reinterpret_cast<const char*>(data), size});
    if (!read.ring) {
        if (read.status != vl::kReadBadLine && read.status != vl::kReadNoSection)
            fuzz::Fail("fuzz_config_reader", "a refusal with an unknown status");
        return 0;
    }
    std::string first, second;
    if (!vl::ComposeConfigText(read.ring, first))
        fuzz::Fail("fuzz_config_reader", "the writer refused what the reader took");
    const vl::ReadResult again = vl::ParseConfigText(first);
    if (!again.ring || !vl::ComposeConfigText(again.ring, second) || second != first)
        fuzz::Fail("fuzz_config_reader", "what the writer wrote does not read back to the same bytes");
    vl::FreeSectionRing(again.ring);
    vl::FreeSectionRing(read.ring);
    return 0;
}
