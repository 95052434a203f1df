// Reading regular files only, and atomic replacement of a file through an unnamed temporary file.
#include "AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace vl
{

Status Status::FromErrno(int error)
{
    Status status;
    status.m_error = error != 0 ? error : EIO;
    status.m_reason = std::strerror(status.m_error);
    return status;
}

Status Status::Refusal(std::string reason)
{
    Status status;
    status.m_error = EINVAL;
    status.m_reason = std::move(reason);
    return status;
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = other.Release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        close(m_fd);
}

int FileDescriptor::Release()
{
    return std::exchange(m_fd, -1);
}

Status FileDescriptor::Close()
{
    const int fd = Release();
    return fd < 0 || close(fd) == 0 ? Status() : Status::FromErrno(errno);
}

namespace
{

Status LastError()
{
    return Status::FromErrno(errno);
}

// The tests cut a save short at a named step with VLCONFIG_SAVE_FAULTS="name:step=action,...", name
// being the file's name without its folder: "kill" kills the saving process there, "stop" stops it
// until it is continued, and a number is the error the step fails with. Gives that error, or 0.
int FaultAt(const std::string& name, std::string_view step)
{
    const char* faults = std::getenv("VLCONFIG_SAVE_FAULTS");
    if (!faults)
        return 0;
    const std::string at = name + ":" + std::string(step) + "=";
    for (std::string_view rest = faults; !rest.empty();) {
        const std::size_t comma = std::min(rest.find(','), rest.size());
        const std::string_view fault = rest.substr(0, comma);
        rest.remove_prefix(std::min(comma + 1, rest.size()));
        if (!fault.starts_with(at))
            continue;
        const std::string action(fault.substr(at.size()));
        if (action == "kill" || action == "stop")
            raise(action == "kill" ? SIGKILL : SIGSTOP);
        else
            return std::atoi(action.c_str());
    }
    return 0;
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

// The links of /proc name whatever a process has open (its standard output, say), never a file that
// a save should replace.
bool LiesInProc(const std::string& path)
{
    struct statfs fs {
    };
    return statfs(FolderOf(path).c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

// The file a save really replaces: the end of the chain of symbolic links at a path.
struct Target {
    std::string path;
    struct stat st {
    };
    bool exists = false;
};

Status ResolveTarget(const std::string& path, Target& target)
{
    target.path = path;
    for (int hops = 0;; ++hops) {
        if (lstat(target.path.c_str(), &target.st) != 0) {
            target.exists = false;
            return errno == ENOENT ? Status() : LastError();
        }
        target.exists = true;
        if (!S_ISLNK(target.st.st_mode))
            return {};
        if (hops == 40)
            return Status::FromErrno(ELOOP);
        if (!MayFollow(target.path, target.st))
            return Status::FromErrno(EACCES);
        char buf[PATH_MAX];
        const ssize_t n = readlink(target.path.c_str(), buf, sizeof buf);
        if (n < 0)
            return LastError();
        if (static_cast<std::size_t>(n) == sizeof buf)
            return Status::FromErrno(ENAMETOOLONG);
        const std::string link(buf, static_cast<std::size_t>(n));
        target.path = link.empty() || link[0] != '/' ? FolderOf(target.path) + "/" + link : link;
        // Refused as the kernel refuses a link it does not trust.
        if (LiesInProc(target.path))
            return Status::FromErrno(EACCES);
    }
}

// What the permission bits allow. The superuser passes every check but is still held to the bits of
// a file that nobody may write, so a read-only file stays read-only for everyone.
int WriteAllowed(const Target& target)
{
    if (geteuid() == 0)
        return (target.st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ? 0 : EACCES;
    return faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

Status CheckReplaceable(const Target& target)
{
    if (S_ISDIR(target.st.st_mode))
        return Status::FromErrno(EISDIR);
    // A device, pipe or socket is never replaced by a regular file.
    if (!S_ISREG(target.st.st_mode))
        return Status::FromErrno(EPERM);
    if (const int err = WriteAllowed(target))
        return Status::FromErrno(err);
    return {};
}

mode_t DefaultMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A short name, so that a target of the longest name the system allows still gets its temporary file.
constexpr char kNameChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// A new unpredictable name each time, so that two saves of one file never share one and nobody can
// take a save's name in advance.
std::string TempName()
{
    unsigned char random[10] = {};
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

// Tries new names until make, given one, does not find it taken (EEXIST); the name it took, or none
// with errno.
template <class Make> std::string UnderNewName(Make make)
{
    for (int tries = 0; tries < 100; ++tries) {
        std::string name = TempName();
        if (make(name))
            return name;
        if (errno != EEXIST)
            break;
    }
    return {};
}

// The replacement keeps the owner; where it cannot (another user's file), the save is refused rather
// than handing the file to the one saving. The group is kept where the system allows.
Status KeepOwner(int fd, const struct stat& st)
{
    if (fchown(fd, st.st_uid, st.st_gid) == 0)
        return {};
    if (st.st_uid != geteuid())
        return LastError();
    (void)!fchown(fd, static_cast<uid_t>(-1), st.st_gid);
    return {};
}

// Reads a list or a value whose size may change between asking for it and reading it.
template <class Read> bool ReadSized(std::vector<char>& out, Read read)
{
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return false;
        out.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

// Every extended attribute of the old file onto the new one; access control lists are among them
// (system.posix_acl_access). Security labels, which the system gives each new file itself and a user
// may not be allowed to set, are left to the system.
Status KeepAttributes(const std::string& from, int to)
{
    std::vector<char> names, value;
    if (!ReadSized(names, [&](char* out, std::size_t size) { return llistxattr(from.c_str(), out, size); }))
        return errno == ENOTSUP ? Status() : LastError();
    for (std::size_t pos = 0; pos < names.size(); pos += std::strlen(names.data() + pos) + 1) {
        const char* name = names.data() + pos;
        if (!ReadSized(value,
                       [&](char* out, std::size_t size) { return lgetxattr(from.c_str(), name, out, size); }))
            return LastError();
        if (fsetxattr(to, name, value.data(), value.size(), 0) != 0 &&
            !std::string_view(name).starts_with("security."))
            return LastError();
    }
    return {};
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

// The new file, from its making in the target's folder to its rename over the target. Left before
// that, it takes the name it bears with it: a failed save leaves nothing behind.
class Replacement
{
  public:
    explicit Replacement(const std::string& target)
        : m_folder(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          m_target(NameOf(target))
    {
    }
    ~Replacement()
    {
        if (!m_name.empty())
            unlinkat(m_folder.Get(), m_name.c_str(), 0);
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    Status Create()
    {
        if (!m_folder)
            return LastError();
        const Status made = CreateUnnamed();
        if (made || (made.Error() != EOPNOTSUPP && made.Error() != EISDIR && made.Error() != EINVAL))
            return made;
        return CreateNamed();
    }

    Status Fill(const std::function<void(BufferedWriter&)>& make, const Target& target)
    {
        BufferedWriter writer(m_file.Get(), m_target);
        make(writer);
        Status status = writer.Finish();
        if (status && target.exists)
            status = KeepOwner(m_file.Get(), target.st);
        if (status && fchmod(m_file.Get(), target.exists ? target.st.st_mode & 07777 : DefaultMode()) != 0)
            status = LastError();
        if (status && target.exists)
            status = KeepAttributes(target.path, m_file.Get());
        if (status && fsync(m_file.Get()) != 0)
            status = LastError();
        return status;
    }

    Status Install(bool exists)
    {
        if (m_unnamed) {
            // A new file gets its own name at once; where the name has been taken meanwhile, the new
            // file replaces what took it.
            if (!exists && LinkUnnamed(m_file.Get(), m_folder.Get(), m_target))
                return Installed();
            if (!exists && errno != EEXIST)
                return LastError();
            m_name = UnderNewName(
                [&](const std::string& temp) { return LinkUnnamed(m_file.Get(), m_folder.Get(), temp); });
            if (m_name.empty())
                return LastError();
        } else if (Status closed = m_file.Close(); !closed) {
            return closed;
        }
        if (const int err = FaultAt(m_target, "rename"))
            return Status::FromErrno(err);
        if (renameat(m_folder.Get(), m_name.c_str(), m_folder.Get(), m_target.c_str()) != 0)
            return LastError();
        m_name.clear();
        return Installed();
    }

  private:
    // The file without a name, so that a save that dies leaves nothing: it is named only in the
    // instant before its rename.
    Status CreateUnnamed()
    {
        if (const int err = FaultAt(m_target, "unnamed"))
            return Status::FromErrno(err);
        m_file = FileDescriptor(openat(m_folder.Get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        m_unnamed = static_cast<bool>(m_file);
        return m_unnamed ? Status() : LastError();
    }

    // A file system without unnamed files: a named file of the save's own.
    Status CreateNamed()
    {
        m_name = UnderNewName([&](const std::string& temp) {
            m_file = FileDescriptor(
                openat(m_folder.Get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
            return static_cast<bool>(m_file);
        });
        return m_name.empty() ? LastError() : Status();
    }

    // The contents were synced, so closing has nothing left to report; the folder's sync makes the
    // new name last.
    Status Installed()
    {
        fsync(m_folder.Get());
        return {};
    }

    FileDescriptor m_folder;
    std::string m_target; // the name of the file replaced
    FileDescriptor m_file;
    bool m_unnamed = false;
    std::string m_name; // the temporary name the file bears, while it bears one
};

} // namespace

BufferedWriter::BufferedWriter(int fd, const std::string& name)
    : m_fd(fd), m_name(name), m_buffer(new char[kBuffer])
{
}

char* BufferedWriter::Room(std::size_t& size)
{
    if (m_used > 0) {
        const off_t start = m_written;
        Flush();
        // The disk may write out a full buffer while the next is filled, so that the sync at the end
        // waits for the last one only. A hint: where the file system does not take it, nothing changes.
        if (m_status)
            (void)sync_file_range(m_fd, start, m_written - start, SYNC_FILE_RANGE_WRITE);
    }
    size = kBuffer;
    return m_buffer.get();
}

void BufferedWriter::Add(std::string_view bytes)
{
    Flush();
    Write(bytes);
}

void BufferedWriter::Fail(Status status)
{
    if (m_status)
        m_status = std::move(status);
}

Status BufferedWriter::Finish()
{
    Flush();
    return m_status;
}

void BufferedWriter::Flush()
{
    Write({m_buffer.get(), m_used});
    m_used = 0;
}

// Every byte, going on after a short write.
void BufferedWriter::Write(std::string_view bytes)
{
    if (!m_status || bytes.empty())
        return;
    while (!bytes.empty()) {
        const ssize_t n = write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_status = Status::FromErrno(n == 0 ? EIO : errno);
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        m_written += n;
    }
    if (const int err = FaultAt(m_name, "write"))
        m_status = Status::FromErrno(err);
}

FileDescriptor OpenRegularFile(const std::string& path)
{
    FileDescriptor fd(OpenForReading(path));
    if (!fd)
        return fd;
    struct stat st {
    };
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return FileDescriptor();
    }
    return fd;
}

bool CanOpenForReading(const std::string& path)
{
    const FileDescriptor fd(OpenForReading(path));
    struct stat st {
    };
    return fd && !(fstat(fd.Get(), &st) == 0 && S_ISDIR(st.st_mode));
}

ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    const FileDescriptor fd = OpenRegularFile(path);
    struct stat st {
    };
    if (!fd || fstat(fd.Get(), &st) != 0)
        return ReadOutcome::CannotOpen;
    if (static_cast<std::size_t>(st.st_size) > maxBytes)
        return ReadOutcome::TooLarge;
    // One byte more than the size, so that a file grown since fstat is seen to go on.
    bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes)
                return ReadOutcome::TooLarge;
            bytes.resize(std::min(got * 2, maxBytes + 1));
        }
        const ssize_t n = read(fd.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ReadOutcome::CannotOpen;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return got > maxBytes ? ReadOutcome::TooLarge : ReadOutcome::Read;
}

Status WriteFileAtomically(const std::string& path, const std::function<void(BufferedWriter&)>& make)
{
    if (path.empty())
        return Status::FromErrno(ENOENT);
    Target target;
    Status status = ResolveTarget(path, target);
    if (status && target.exists)
        status = CheckReplaceable(target);
    if (!status)
        return status;
    Replacement replacement(target.path);
    status = replacement.Create();
    if (status)
        status = replacement.Fill(make, target);
    if (status)
        status = replacement.Install(target.exists);
    return status;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    return WriteFileAtomically(path, [bytes](BufferedWriter& out) { out.Add(bytes); });
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace vl
