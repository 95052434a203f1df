// What the fuzz targets share: a temporary folder per process, failing loudly, reading a file back.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace fuzz
{

// The target's name, for the failure line; each target defines it.
extern const char* const kTargetName;

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "%s: %s%s%s\n", kTargetName, what, detail.empty() ? "" : ": ", detail.c_str());
    std::abort();
}

// One folder per process, made on first use and removed at exit; a target unlinks its files after
// every iteration, so the folder is empty by then.
inline const std::string& Folder()
{
    static std::string folder;
    if (folder.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base && *base ? base : "/tmp") + "/vlfuzz-" + kTargetName + ".XXXXXX";
        if (!mkdtemp(pattern.data()))
            Fail("cannot make a temporary folder", std::strerror(errno));
        folder = pattern;
        std::atexit([] { rmdir(folder.c_str()); });
    }
    return folder;
}

inline std::string ReadPlain(const std::string& path)
{
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        Fail("cannot open a written file", path);
    char buf[8192];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    std::fclose(f);
    return bytes;
}

} // namespace fuzz
