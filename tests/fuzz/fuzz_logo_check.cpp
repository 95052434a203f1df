// Fuzz target: the logo header check accepts only what a PCX version 2 header within 120x120 allows.
#include "pages/LogoCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_logo_check: %s\n", what);
    std::abort();
}

int Signed16(const uint8_t* p)
{
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string message = "left over from an earlier check";
    const bool accepted = vl::CheckLogoHeader(data, size, message);
    if (accepted) {
        if (size < vl::kPcxHeaderSize)
            Fail("accepted a header shorter than 128 bytes");
        if (data[1] != 2)
            Fail("accepted a version other than 2");
        if (Signed16(data + 8) > vl::kMaxLogoExtent || Signed16(data + 10) > vl::kMaxLogoExtent)
            Fail("accepted an extent above 120");
        if (!message.empty())
            Fail("accepted with a message");
        return 0;
    }
    if (message.empty())
        Fail("refused without a message");
    if (message != vl::kLogoNotPcx2 && message != vl::kLogoTooLarge)
        Fail("refused with a message the header check does not give");
    // The verdict rests on the header alone: bytes after it change nothing.
    if (size > vl::kPcxHeaderSize) {
        std::string again;
        if (vl::CheckLogoHeader(data, vl::kPcxHeaderSize, again) || again != message)
            Fail("the bytes after the header changed the verdict");
    }
    return 0;
}
