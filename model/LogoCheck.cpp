// The check of a company logo file.
#include "LogoCheck.h"

#include "Texts.h"

#include "AtomicFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace vl
{

namespace
{

int ReadSigned16(const unsigned char* p)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

} // namespace

bool CheckLogoHeader(const unsigned char* data, std::size_t size, std::string& message)
{
    message.clear();
    if (size < kPcxHeaderSize || data[1] != 2) {
        message = texts::kLogoNotPcx2;
        return false;
    }
    if (ReadSigned16(data + 8) > kMaxLogoExtent || ReadSigned16(data + 10) > kMaxLogoExtent) {
        message = texts::kLogoTooLarge;
        return false;
    }
    return true;
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
