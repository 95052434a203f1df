// Fuzz target: the logo check accepts exactly the headers of at least 128 bytes with version 2 and
// signed extents of at most 120, judging by the header alone.
#include "FuzzSupport.h"
#include "model/LogoCheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto extent = [&](size_t at) {
        return static_cast<int16_t>(static_cast<uint16_t>(data[at] | data[at + 1] << 8));
    };
    const bool fits = size >= vl::kPcxHeaderSize && data[1] == 2 && extent(8) <= vl::kMaxLogoExtent &&
                      extent(10) <= vl::kMaxLogoExtent;
    std::string message = "left over", header;
    if (vl::CheckLogoHeader(data, size, message) != fits || message.empty() != fits)
        fuzz::Fail("fuzz_logo_check", "the verdict does not follow the header");
    if (size > vl::kPcxHeaderSize &&
        (vl::CheckLogoHeader(data, vl::kPcxHeaderSize, header) != fits || header != message))
        fuzz::Fail("fuzz_logo_check", "the bytes after the header changed the verdict");
    return 0;
}
