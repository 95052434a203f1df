// What the fuzz targets share: failing loudly, and a temporary folder per process for their files.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzz
{

extern const char* const kTargetName; // each target defines it

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "%s: %s %s\n", kTargetName, what, detail.c_str());
    std::abort();
}

// Made on first use, removed at exit; the targets remove their files after every input.
inline const std::string& Folder()
{
    static std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vlfuzz-" + kTargetName + ".XXXXXX";
        if (!mkdtemp(pattern.data()))
            Fail("cannot make a temporary folder");
        std::atexit([] { rmdir(Folder().c_str()); });
        return pattern;
    }();
    return folder;
}

inline std::string ReadPlain(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WritePlain(const std::string& path, std::string_view bytes)
{
    if (!(std::ofstream(path, std::ios::binary) << bytes))
        Fail("cannot write", path);
}

} // namespace fuzz
