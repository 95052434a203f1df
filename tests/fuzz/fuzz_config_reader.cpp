// Fuzz target: any bytes read as a configuration file must survive write, read and write unchanged, and
// no path of another kind is read.
#include "FuzzSupport.h"
#include "model/ConfigFile.h"
#include "model/SectionRing.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzz
{
const char* const kTargetName = "fuzz_config_reader";
} // namespace fuzz

namespace
{

using fuzz::Fail;
using fuzz::Folder;
using fuzz::ReadPlain;

void WritePlain(const std::string& path, const uint8_t* data, size_t size)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        Fail("cannot create the input file", std::strerror(errno));
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("cannot write the input file", std::strerror(errno));
        data += n;
        size -= static_cast<size_t>(n);
    }
    close(fd);
}

std::string Describe(const std::optional<std::string>& value)
{
    return value ? "\"" + *value + "\"" : std::string("(none)");
}

// Walks a ring from its sentinel, checking its shape; gives the number of sections. The walk is
// bounded so that a ring that never closes is reported rather than looped over.
size_t CheckRing(const vl::SectionNode* ring, size_t limit)
{
    if (!ring || !vl::IsSentinel(ring))
        Fail("a ring came back without its sentinel first");
    size_t count = 0;
    for (const vl::SectionNode* node = ring->next; node != ring; node = node->next) {
        if (!node)
            Fail("a ring is not closed");
        if (++count > limit)
            Fail("a ring holds more sections than the input has lines");
        if (vl::IsSentinel(node))
            Fail("a section would pass for the sentinel", node->name);
        if (node->parent.size() > vl::kFieldCapacity || node->name.size() > vl::kFieldCapacity ||
            node->title.size() > vl::kFieldCapacity)
            Fail("a field is longer than its capacity", node->name);
    }
    return count;
}

// The writer carries only BIOSSTR for the "MISC" section; its title, description and path are
// not part of the file and so are not compared for it.
void CompareRings(const vl::SectionNode* a, const vl::SectionNode* b)
{
    const vl::SectionNode* x = a->next;
    const vl::SectionNode* y = b->next;
    size_t index = 0;
    for (; x != a && y != b; x = x->next, y = y->next, ++index) {
        const std::string where = "section " + std::to_string(index) + " [" + x->name + "]";
        if (x->name != y->name)
            Fail("name differs after write and read", where + " vs [" + y->name + "]");
        if (x->parent != y->parent)
            Fail("parent differs after write and read",
                 where + ": \"" + x->parent + "\" vs \"" + y->parent + "\"");
        if (x->name == vl::kMiscSection)
            continue;
        if (x->title != y->title)
            Fail("title differs after write and read",
                 where + ": \"" + x->title + "\" vs \"" + y->title + "\"");
        if (x->description != y->description)
            Fail("description differs after write and read",
                 where + ": " + Describe(x->description) + " vs " + Describe(y->description));
        if (x->path != y->path)
            Fail("path differs after write and read",
                 where + ": " + Describe(x->path) + " vs " + Describe(y->path));
    }
    if (x != a || y != b)
        Fail("section count differs after write and read");
}

// Paths that name no regular file, and a regular file over the size limit: none of them blocks or
// is read, whatever the input's first bytes choose.
void CheckOtherKinds(const std::string& folder, const uint8_t* data, size_t size)
{
    const std::string path = folder + "/other";
    const unsigned kind = size > 0 ? data[0] % 4 : 0;
    int expected = vl::kReadCannotOpen;
    int made = 0;
    if (kind == 0)
        made = mkfifo(path.c_str(), 0600);
    else if (kind == 1)
        made = symlink("/dev/zero", path.c_str());
    else if (kind == 2)
        made = symlink("other", path.c_str()); // a loop
    else {
        // Sparse, so that sizes far beyond the limit cost nothing.
        const off_t over = 1 + (size > 1 ? off_t(data[1]) << 32 : 0);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        made = fd < 0 || ftruncate(fd, static_cast<off_t>(vl::kMaxConfigBytes) + over) != 0 ? -1 : 0;
        close(fd);
        expected = vl::kReadBadLine;
    }
    if (made != 0)
        Fail("cannot make the other kind of path", std::strerror(errno));
    const vl::ReadResult read = vl::ReadConfigFile(path);
    if (read.ring || read.status != expected)
        Fail("a path of another kind was not refused as it should be", std::to_string(kind));
    if (unlink(path.c_str()) != 0)
        Fail("cannot remove the other kind of path", std::strerror(errno));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = Folder();
    const std::string input = folder + "/input.ini";
    const std::string first = folder + "/first.ini";
    const std::string second = folder + "/second.ini";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    CheckOtherKinds(folder, data, size);
    WritePlain(input, data, size);
    vl::ReadResult read = vl::ReadConfigFile(input);
    unlink(input.c_str());

    // Reading the file and parsing its bytes must agree.
    vl::ReadResult parsed = vl::ParseConfigText(bytes);
    if ((read.ring == nullptr) != (parsed.ring == nullptr) || read.status != parsed.status)
        Fail("ReadConfigFile and ParseConfigText disagree");

    if (!read.ring) {
        if (read.status != vl::kReadBadLine && read.status != vl::kReadNoSection)
            Fail("a refused read gave an unexpected status", std::to_string(read.status));
        return 0;
    }
    if (read.status != 0)
        Fail("a ring came back with a non-zero status");

    // No section without its header line, and a header line is at least three bytes with its end.
    const size_t limit = size / 2 + 1;
    const size_t count = CheckRing(read.ring, limit);
    if (count == 0)
        Fail("a ring without sections came back as read");
    CompareRings(read.ring, parsed.ring);
    vl::FreeSectionRing(parsed.ring);

    std::string reason;
    if (!vl::WriteConfigFile(first, read.ring, &reason))
        Fail("the writer refused a ring the reader made", reason);
    const std::string firstBytes = ReadPlain(first);
    std::string composed;
    if (!vl::ComposeConfigText(read.ring, composed) || composed != firstBytes)
        Fail("the written file is not the composed text");

    vl::ReadResult again = vl::ReadConfigFile(first);
    if (!again.ring || again.status != 0)
        Fail("the reader refused a file the writer wrote", std::to_string(again.status));
    if (CheckRing(again.ring, limit) != count)
        Fail("section count differs after write and read");
    CompareRings(read.ring, again.ring);

    if (!vl::WriteConfigFile(second, again.ring, &reason))
        Fail("the writer refused a ring read from its own file", reason);
    if (ReadPlain(second) != firstBytes)
        Fail("writing what was read from a written file gives other bytes");

    vl::FreeSectionRing(again.ring);
    vl::FreeSectionRing(read.ring);
    unlink(first.c_str());
    unlink(second.c_str());
    return 0;
}
