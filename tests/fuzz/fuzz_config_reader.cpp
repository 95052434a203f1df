// Fuzz target: whatever the reader takes, the writer writes, and what it wrote reads back and
// writes to the same bytes; what it refuses has a known status. A path of another kind chosen by the
// input (a pipe, a device, a link loop, a file over the size limit) is refused without being read.
#include "FuzzSupport.h"
#include "model/ConfigFile.h"

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

void CheckOtherKind(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        char name[] = "/tmp/fuzz_config_reader.XXXXXX";
        if (!mkdtemp(name))
            fuzz::Fail("fuzz_config_reader", "cannot make a temporary folder");
        return std::string(name);
    }();
    const std::string path = folder + "/other";
    const unsigned kind = size > 0 ? data[0] % 4 : 0;
    int made = 0;
    if (kind == 0)
        made = mkfifo(path.c_str(), 0600);
    else if (kind == 1)
        made = symlink("/dev/zero", path.c_str());
    else if (kind == 2)
        made = symlink("other", path.c_str()); // a loop
    else {                                     // sparse, so that sizes far beyond the limit cost nothing
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const off_t over = 1 + (size > 1 ? off_t(data[1]) << 32 : 0);
        made = fd < 0 || ftruncate(fd, static_cast<off_t>(vl::kMaxConfigBytes) + over) != 0 ? -1 : 0;
        close(fd);
    }
    if (made != 0)
        fuzz::Fail("fuzz_config_reader", "cannot make the path of another kind");
    const vl::ReadResult read = vl::ReadConfigFile(path);
    if (read.ring || read.status != (kind == 3 ? vl::kReadBadLine : vl::kReadCannotOpen))
        fuzz::Fail("fuzz_config_reader", "a path of another kind was not refused as it should be");
    unlink(path.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckOtherKind(data, size);
    const vl::ReadResult read = vl::ParseConfigText({reinterpret_cast<const char*>(data), size});
    if (!read.ring) {
        if (read.status != vl::kReadBadLine && read.status != vl::kReadNoSection)
            fuzz::Fail("fuzz_config_reader", "a refusal with an unknown status");
        return 0;
    }
    std::string first, second;
    if (!vl::ComposeConfigText(read.ring, first))
        fuzz::Fail("fuzz_config_reader", "the writer refused what the reader took");
    const vl::ReadResult again = vl::ParseConfigText(first);
    if (!again.ring || !vl::ComposeConfigText(again.ring, second) || second != first)
        fuzz::Fail("fuzz_config_reader", "what the writer wrote does not read back to the same bytes");
    vl::FreeSectionRing(again.ring);
    vl::FreeSectionRing(read.ring);
    return 0;
}
