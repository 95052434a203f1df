// The three command-line modes.
#include "Modes.h"

#include "model/BatchFile.h"
#include "model/Check.h"
#include "model/TextMode.h"

#include <algorithm>

namespace vl::cli
{

namespace
{

void Report(std::FILE* out, const std::string& path, const CheckedFile& checked)
{
    for (const Problem& problem : checked.Problems())
        std::fputs(FormatProblem(path, problem).c_str(), out);
}

// kClean when the batch file may be made from the file; otherwise its lines go to out and its
// status comes back.
int Refusal(std::FILE* out, const std::string& path, const CheckedFile& checked)
{
    if (!checked.Readable() || checked.SaveWouldRefuse())
        Report(out, path, checked);
    if (!checked.Readable())
        return kUsageOrUnreadable;
    return checked.SaveWouldRefuse() ? kProblem : kClean;
}

} // namespace

int RunCheck(const std::vector<std::string>& files, std::FILE* out)
{
    int status = kClean;
    for (const std::string& path : files) {
        const CheckedFile checked(path);
        Report(out, path, checked);
        if (!checked.Readable())
            status = kUsageOrUnreadable;
        else if (!checked.Problems().empty())
            status = std::max(status, kProblem);
    }
    return status;
}

int RunWriteBatch(const std::vector<std::string>& files, std::FILE* out)
{
    int status = kClean;
    for (const std::string& path : files) {
        const CheckedFile checked(path);
        if (const int refused = Refusal(out, path, checked); refused != kClean) {
            status = std::max(status, refused);
            continue;
        }
        if (const Status written = WriteBatchFile(path, checked.Ring()); !written) {
            const std::string line = path + ": Unable to write the batch file " + BatchPathFor(path) + ". ";
            std::fputs((line + written.Reason() + "\n").c_str(), out);
            status = std::max(status, kProblem);
        }
    }
    return status;
}

int RunPrintBatch(const std::string& file, std::FILE* out, std::FILE* err)
{
    const CheckedFile checked(file);
    if (const int refused = Refusal(err, file, checked); refused != kClean)
        return refused;
    // The bytes WriteBatchFile would write beside the configuration.
    const std::string bytes = ToFileText(ComposeBatchText(ConfigFileNameOf(file), checked.Ring()));
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
        std::fputs((file + ": Unable to write the batch file to standard output.\n").c_str(), err);
        return kProblem;
    }
    return kClean;
}

} // namespace vl::cli
