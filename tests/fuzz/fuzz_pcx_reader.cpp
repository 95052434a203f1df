// Fuzz target: the PCX reader takes any bytes without harm, and a picture it reads that fits the
// launcher's box comes back from a logo made of it at its size, as one the logo check takes.
#include "FuzzSupport.h"
#include "model/Pcx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto picture = vl::pcx::Decode(data, size);
    if (!picture || picture->width > vl::pcx::kMaxLogoSide || picture->height > vl::pcx::kMaxLogoSide)
        return 0;
    const std::string logo = vl::pcx::EncodeVersion2(vl::pcx::ReduceColours(*picture));
    const auto* bytes = reinterpret_cast<const uint8_t*>(logo.data());
    const auto back = vl::pcx::Decode(bytes, logo.size());
    if (!back || back->width != picture->width || back->height != picture->height ||
        vl::pcx::JudgeLogo(bytes, logo.size()) != vl::pcx::LogoVerdict::Fits)
        fuzz::Fail("fuzz_pcx_reader", "a logo made of a picture read does not read back as it");
    return 0;
}
