// Reading regular files only, and atomic replacement of a file through an unnamed temporary file.
#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
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

int OpenForReading(const std::string& path)
{
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kernel's protected-links rule: in a sticky folder that everyone may write, a link is followed
// only when it belongs to the one following it or to the folder's owner.
bool MayFollow(const std::string& link, const struct stat& linkStat)
{
    struct stat folder {
    };
    if (stat(FolderOf(link).c_str(), &folder) != 0)
        return true;
    const bool open = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !open || linkStat.st_uid == geteuid() || linkStat.st_uid == folder.st_uid;
}

// The file a save really replaces: the end of the chain of symbolic links at path. Gives 0, with
// exists telling whether something is there, or the error that stops the walk.
int ResolveTarget(const std::string& path, std::string& target, struct stat& st, bool& exists)
{
    target = path;
    for (int hops = 0;; ++hops) {
        if (lstat(target.c_str(), &st) != 0) {
            exists = false;
            return errno == ENOENT ? 0 : errno;
        }
        exists = true;
        if (!S_ISLNK(st.st_mode))
            return 0;
        if (hops == 40)
            return ELOOP;
        if (!MayFollow(target, st))
            return EACCES;
        std::vector<char> buf(PATH_MAX + 1);
        const ssize_t n = readlink(target.c_str(), buf.data(), PATH_MAX);
        if (n < 0)
            return errno;
        const std::string link(buf.data(), static_cast<std::size_t>(n));
        if (link.empty() || link[0] != '/')
            target = FolderOf(target) + "/" + link;
        else
            target = link;
    }
}

// What the permission bits allow. The superuser passes every check but is still held to the bits of
// a file that nobody may write, so a read-only file stays read-only for everyone.
int WriteAllowed(const std::string& target, const struct stat& st)
{
    if (geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ? 0 : EACCES;
    return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

mode_t DefaultMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A short name, so that a target of the longest name the system allows still gets its temporary file.
constexpr char kNameChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string TempName()
{
    unsigned char random[8] = {};
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        static unsigned counter = 0;
        const unsigned seed = static_cast<unsigned>(getpid()) * 2654435761u + ++counter;
        std::memcpy(random, &seed, sizeof seed);
    }
    std::string name = ".vl";
    for (unsigned char c : random)
        name += kNameChars[c % (sizeof kNameChars - 1)];
    return name;
}

// The temporary name of an unnamed file about to replace the file called name: the same each time,
// short whatever the length of name.
std::string HeldName(const std::string& name)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name)
        hash = (hash ^ c) * 1099511628211ull;
    std::string held = ".vl";
    for (int i = 0; i < 10; ++i, hash /= 62)
        held += kNameChars[hash % 62];
    return held;
}

bool WriteAll(int fd, std::string_view bytes, off_t offset = -1)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = offset < 0 ? write(fd, data, left) : pwrite(fd, data, left, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
        if (offset >= 0)
            offset += n;
    }
    return true;
}

bool ReadAll(int fd, std::string& bytes, std::size_t size)
{
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, bytes.data() + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return got == size;
}

// A file with other hard links is rewritten where it is, since renaming a new file over one of its
// names would part that name from the others. The space is taken before the first byte changes, and
// a write that still fails puts the old bytes back.
bool WriteInPlace(const std::string& target, const struct stat& expected, std::string_view bytes,
                  std::string* reason)
{
    const int fd = open(target.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Fail(reason, errno);
    auto failWith = [&](int err) {
        close(fd);
        return Fail(reason, err);
    };
    struct stat st {
    };
    if (fstat(fd, &st) != 0)
        return failWith(errno);
    if (st.st_dev != expected.st_dev || st.st_ino != expected.st_ino || !S_ISREG(st.st_mode))
        return failWith(EAGAIN);
    std::string old;
    if (!ReadAll(fd, old, static_cast<std::size_t>(st.st_size)))
        return failWith(EIO);
    if (bytes.size() > old.size() && fallocate(fd, 0, 0, static_cast<off_t>(bytes.size())) != 0 &&
        errno != EOPNOTSUPP) {
        const int err = errno;
        (void)!ftruncate(fd, static_cast<off_t>(old.size()));
        return failWith(err);
    }
    if (!WriteAll(fd, bytes, 0) || ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || fsync(fd) != 0) {
        const int err = errno;
        if (WriteAll(fd, old, 0))
            (void)!ftruncate(fd, static_cast<off_t>(old.size()));
        fsync(fd);
        return failWith(err);
    }
    return close(fd) == 0 || Fail(reason, errno);
}

// Gives the unnamed file at fd a name in the folder; false with errno when it cannot.
bool LinkUnnamed(int fd, int folder, const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    return linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
}

} // namespace

int OpenRegularFile(const std::string& path)
{
    const int fd = OpenForReading(path);
    if (fd < 0)
        return -1;
    struct stat st {
    };
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    return fd;
}

bool CanOpenForReading(const std::string& path)
{
    const int fd = OpenForReading(path);
    if (fd < 0)
        return false;
    struct stat st {
    };
    const bool folder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    close(fd);
    return !folder;
}

ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    const int fd = OpenRegularFile(path);
    if (fd < 0)
        return ReadOutcome::CannotOpen;
    struct stat st {
    };
    if (fstat(fd, &st) != 0) {
        close(fd);
        return ReadOutcome::CannotOpen;
    }
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        close(fd);
        return ReadOutcome::TooLarge;
    }
    // One byte more than the size, so that a file grown since fstat is seen to go on.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes) {
                close(fd);
                return ReadOutcome::TooLarge;
            }
            bytes.resize(std::min(got * 2, maxBytes + 1));
        }
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return ReadOutcome::CannotOpen;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    bytes.resize(got);
    return got > maxBytes ? ReadOutcome::TooLarge : ReadOutcome::Read;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason)
{
    if (path.empty())
        return Fail(reason, ENOENT);
    std::string target;
    struct stat st {
    };
    bool exists = false;
    if (const int err = ResolveTarget(path, target, st, exists))
        return Fail(reason, err);

    mode_t mode = DefaultMode();
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return Fail(reason, EISDIR);
        // A device, pipe or socket is never replaced by a regular file.
        if (!S_ISREG(st.st_mode))
            return Fail(reason, EPERM);
        if (const int err = WriteAllowed(target, st))
            return Fail(reason, err);
        if (st.st_nlink > 1)
            return WriteInPlace(target, st, bytes, reason);
        mode = st.st_mode & 07777;
    }

    const std::string name = NameOf(target);
    const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return Fail(reason, errno);
    int fd = openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    const bool unnamed = fd >= 0;
    std::string temp; // the temporary file's name, once it has one
    if (!unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without unnamed files: a named temporary file, removed on every failure.
        for (int tries = 0; fd < 0 && tries < 100; ++tries) {
            temp = TempName();
            fd = openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0)
            temp.clear();
    }
    auto abandon = [&](int err) {
        if (fd >= 0)
            close(fd);
        if (!temp.empty())
            unlinkat(folder, temp.c_str(), 0);
        close(folder);
        return Fail(reason, err);
    };
    if (fd < 0)
        return abandon(errno);

    if (!WriteAll(fd, bytes))
        return abandon(errno);
    // The replacement keeps the owner; where it cannot (another user's file), the save is refused
    // rather than handing the file to the one saving. The group is kept where the system allows.
    if (exists && fchown(fd, st.st_uid, st.st_gid) != 0) {
        if (st.st_uid != geteuid())
            return abandon(errno);
        (void)!fchown(fd, static_cast<uid_t>(-1), st.st_gid);
    }
    if (fchmod(fd, mode) != 0 || fsync(fd) != 0)
        return abandon(errno);

    if (unnamed) {
        // The contents are synced, so the descriptor's close has nothing left to report; it follows
        // the rename, to keep the moment in which the file bears a temporary name as short as can be.
        auto done = [&] {
            close(fd);
            fsync(folder);
            close(folder);
            return true;
        };
        // A new file gets its own name at once.
        if (!exists && LinkUnnamed(fd, folder, name))
            return done();
        if (!exists && errno != EEXIST)
            return abandon(errno);
        // An existing one is replaced by a rename from a name kept for this target: a save cut short
        // between the two steps leaves that name, and the next save of the same file takes it back.
        const std::string held = HeldName(name);
        if (!LinkUnnamed(fd, folder, held) &&
            !(errno == EEXIST && unlinkat(folder, held.c_str(), 0) == 0 && LinkUnnamed(fd, folder, held)))
            return abandon(errno);
        temp = held;
        if (renameat(folder, temp.c_str(), folder, name.c_str()) != 0)
            return abandon(errno);
        return done();
    }
    const int closed = close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(errno);
    if (renameat(folder, temp.c_str(), folder, name.c_str()) != 0)
        return abandon(errno);
    fsync(folder);
    close(folder);
    return true;
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace vl
