// Atomic replacement of a file through a temporary file and rename.
#include "AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vl
{

namespace
{

bool Fail(std::string* reason, int err)
{
    if (reason)
        *reason = std::strerror(err);
    errno = err;
    return false;
}

// The file a save really replaces: the end of a chain of symbolic links, or the path itself.
std::string ResolveTarget(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {
        };
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        std::vector<char> buf(PATH_MAX + 1);
        ssize_t n = readlink(target.c_str(), buf.data(), PATH_MAX);
        if (n < 0)
            return target;
        std::string link(buf.data(), static_cast<std::size_t>(n));
        if (!link.empty() && link[0] == '/') {
            target = link;
        } else {
            std::size_t slash = target.rfind('/');
            target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
    }
    return target;
}

mode_t DefaultMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason)
{
    if (path.empty())
        return Fail(reason, ENOENT);
    const std::string target = ResolveTarget(path);

    mode_t mode = DefaultMode();
    struct stat st {
    };
    if (stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Fail(reason, EISDIR);
        mode = st.st_mode & 07777;
    }

    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = folder + "." + base + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');

    int fd = mkstemp(name.data());
    if (fd < 0)
        return Fail(reason, errno);

    auto abandon = [&](int err) {
        if (fd >= 0)
            close(fd);
        unlink(name.data());
        return Fail(reason, err);
    };

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return abandon(errno);
        }
        if (n == 0)
            return abandon(EIO);
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (fchmod(fd, mode) != 0)
        return abandon(errno);
    if (fsync(fd) != 0)
        return abandon(errno);
    int closed = close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(errno);
    if (rename(name.data(), target.c_str()) != 0)
        return abandon(errno);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    struct stat st {
    };
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return false;
    }
    bytes.clear();
    if (st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    return true;
}

} // namespace vl
