// What the fuzz targets share: failing loudly.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz
{

[[noreturn]] inline void Fail(const char* target, const char* what)
{
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

} // namespace fuzz
