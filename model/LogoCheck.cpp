// The check of a company logo file.
#include "LogoCheck.h"

#include "AtomicFile.h"
#include "Pcx.h"
#include "Texts.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vl
{

bool CheckLogoHeader(const unsigned char* data, std::size_t size, std::string& message)
{
    // The same judgement as the one that decides whether a chosen picture needs making into a logo.
    switch (pcx::JudgeLogo(data, size)) {
    case pcx::LogoVerdict::NotVersion2:
        message = texts::kLogoNotPcx2;
        return false;
    case pcx::LogoVerdict::TooLarge:
        message = texts::kLogoTooLarge;
        return false;
    default:
        message.clear();
        return true;
    }
}

bool CheckLogoFile(const std::string& path, std::string& message)
{
    message.clear();
    // A pipe or a device would block the read or never end it: only a regular file is looked at.
    const FileDescriptor fd = OpenRegularFile(path);
    if (!fd) {
        message = texts::kLogoCannotOpen;
        return false;
    }
    unsigned char header[kPcxHeaderSize];
    std::size_t got = 0;
    while (got < kPcxHeaderSize) {
        const ssize_t n = read(fd.Get(), header + got, kPcxHeaderSize - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            message = std::string(std::strerror(errno)).substr(0, 254);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return CheckLogoHeader(header, got, message);
}

} // namespace vl
