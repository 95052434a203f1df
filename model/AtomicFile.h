// Reading files that may be anything a path can name, and replacing files so that a failed save never
// leaves them half-written; the outcome every step of a save reports.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/uio.h>

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

// Writes a file's bytes piece by piece, in order, as a writer makes them: a long piece from where it
// lies, short ones gathered in a small buffer, each run of them one piece of the next gathering
// write. A piece must stay where it is until Finish: the ring's own texts and constant parts of lines
// do. Keeps the first failure and drops what follows it.
class GatheringWriter
{
  public:
    GatheringWriter(int fd, const std::string& name);
    GatheringWriter(const GatheringWriter&) = delete;
    GatheringWriter& operator=(const GatheringWriter&) = delete;

    void Add(std::string_view piece)
    {
        // An empty piece may have no bytes at all to point at (an absent value): nothing to copy.
        if (piece.empty())
            return;
        if (piece.size() < kDirect && piece.size() <= kStage - m_staged) {
            std::memcpy(m_stage.get() + m_staged, piece.data(), piece.size());
            m_staged += piece.size();
        } else {
            AddLong(piece);
        }
    }
    // The whole buffer, to be written straight into, after what was gathered before is written;
    // Commit takes the first size bytes of it.
    char* Room(std::size_t& size)
    {
        if (m_staged > 0)
            Flush();
        size = kStage;
        return m_stage.get();
    }
    void Commit(std::size_t size) { m_staged += size; }
    // Ends the file with a failure of the writer's own: nothing more is written, and Finish gives it.
    void Fail(Status status)
    {
        if (m_status)
            m_status = std::move(status);
    }
    Status Finish();

  private:
    static constexpr std::size_t kDirect = 256, kStage = std::size_t(256) << 10, kPieces = 1024;

    void AddLong(std::string_view piece);
    void EndRun();
    void Flush();

    int m_fd;
    const std::string& m_name; // of the file written, for the faults the tests inject
    Status m_status;
    std::unique_ptr<char[]> m_stage;
    std::size_t m_staged = 0, m_runStart = 0; // bytes in the buffer; where the run not yet a piece starts
    iovec m_pieces[kPieces];
    int m_count = 0;
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
Status WriteFileAtomically(const std::string& path, const std::function<void(GatheringWriter&)>& make);
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// True when both paths name one existing file (same device and inode), links followed.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace vl
