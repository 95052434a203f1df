// Reading files that may be anything a path can name, and replacing files so that a failed save never
// leaves them half-written; the outcome every step of a save reports.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace vl
{

// The outcome of a save or of one of its steps: done, or failed with the system's error number and
// the reason shown to the person (the system's description of that error, or the program's own
// refusal, which carries EINVAL).
class [[nodiscard]] Status
{
  public:
    Status() = default;
    static Status FromErrno(int error);
    static Status Refusal(std::string reason);

    explicit operator bool() const { return m_error == 0; }
    int Error() const { return m_error; }
    const std::string& Reason() const { return m_reason; }

  private:
    int m_error = 0;
    std::string m_reason;
};

// A file descriptor that closes itself once, whichever way its owner is left.
class FileDescriptor
{
  public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    int Release();
    // Closes now, for the callers that must know whether the close failed.
    Status Close();

  private:
    int m_fd;
};

// Writes a file's bytes in order through a buffer that a writer fills in place, or from where they lie
// (Add). Keeps the first failure and drops what follows it.
class BufferedWriter
{
  public:
    BufferedWriter(int fd, const std::string& name);
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    // The whole buffer, to be written straight into, after what was in it before is written; Commit
    // takes the first size bytes of it.
    char* Room(std::size_t& size);
    void Commit(std::size_t size) { m_used += size; }
    // Bytes written from where they lie, after the buffer's.
    void Add(std::string_view bytes);
    // Ends the file with a failure of the writer's own: nothing more is written, and Finish gives it.
    void Fail(Status status);
    Status Finish();

  private:
    static constexpr std::size_t kBuffer = std::size_t(256) << 10;

    void Write(std::string_view bytes);
    void Flush();

    int m_fd;
    const std::string& m_name; // of the file written, for the faults the tests inject
    Status m_status;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_used = 0;
    off_t m_written = 0; // bytes written to the file so far
};

// Opens path for reading without waiting (a pipe without a writer) and without taking a terminal;
// gives the descriptor of a regular file, or none for anything else (a pipe, device, socket or
// folder, or a path that does not open). Nothing is read.
FileDescriptor OpenRegularFile(const std::string& path);

// Whether path opens for reading at all, asked without blocking; a folder does not count.
bool CanOpenForReading(const std::string& path);

enum class ReadOutcome { Read, CannotOpen, TooLarge };

// Reads the whole of a regular file of at most maxBytes. A larger file is refused before any of it is
// read; one that grows past maxBytes while it is read is refused as well.
ReadOutcome ReadRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes);

// Writes bytes into an unnamed file in the target's folder (a named one of an unpredictable name,
// made exclusively, where the file system has no unnamed files), checks every write and syncs it,
// then renames it over the target, so that the target holds either its old bytes or all the new
// ones, and a failed save leaves no file behind. Symbolic links to regular files are followed and
// their target replaced; a link loop, a link that the protected-links rule of a sticky world-writable
// folder would not follow, a link into /proc and a target that is not a regular file fail. An existing
// target keeps its permission bits, owner and extended attributes (access control lists among them),
// and is not replaced when its permission bits do not let the saving user write it. A target with
// other hard links is replaced like any other; its other names keep the old bytes.
// The bytes are what make adds to the writer it is given, written as they come, so that the text never
// exists whole a second time.
Status WriteFileAtomically(const std::string& path, const std::function<void(BufferedWriter&)>& make);
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// True when both paths name one existing file (same device and inode), links followed.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace vl
