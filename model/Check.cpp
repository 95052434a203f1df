// The check of a configuration file without a window.
#include "Check.h"

#include "BatchFile.h"
#include "CaseFold.h"
#include "CodePage.h"
#include "ConfigFile.h"
#include "LogoCheck.h"
#include "Rules.h"
#include "TextMode.h"
#include "Texts.h"

#include <algorithm>
#include <dirent.h>
#include <string_view>
#include <sys/stat.h>

namespace vl
{

namespace
{

// A report line cannot hold the line breaks of a message box.
std::string OneLine(std::string_view message)
{
    std::string line(message);
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

enum class Field { Header, Title, Description, Path };

// The line of a section's field, or of its header when no line gave the field.
std::size_t LineOf(const SectionLines& lines, Field field)
{
    const std::size_t line = field == Field::Title         ? lines.title
                             : field == Field::Description ? lines.description
                             : field == Field::Path        ? lines.path
                                                           : 0;
    return line ? line : lines.header;
}

// A path the launcher cannot take on its medium: one that only means something on this machine.
bool IsLinuxPath(std::string_view path)
{
    return path.starts_with('/') || path.starts_with('~');
}

// The folder that holds the file at path ("." for a bare name).
std::string FolderOfFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name under which folder holds name, found without regard to letter case as DOS finds files
// (an exact match first); empty when there is none.
std::string FindIgnoringCase(const std::string& folder, std::string_view name)
{
    struct stat info;
    if (stat((folder + "/" + std::string(name)).c_str(), &info) == 0)
        return std::string(name);
    std::string found;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (EqualsIgnoreCase(entry->d_name, name)) {
                found = entry->d_name;
                break;
            }
        }
        closedir(dir);
    }
    return found;
}

// The logo's problem when its path names a file next to the configuration: a relative path (each
// part found ignoring letter case), or a DOS path whose file name lies in the configuration's
// folder. Other paths name places on the launcher's machine that cannot be looked at from here.
std::string LogoProblem(const std::string& configPath, std::string_view logo)
{
    if (IsLinuxPath(logo))
        return texts::kLinuxPath;
    if (logo.empty())
        return {};
    const std::string folder = FolderOfFile(configPath);
    std::string file = folder;
    if (logo[0] == '\\' || (logo.size() >= 2 && logo[1] == ':')) {
        const std::string found = FindIgnoringCase(folder, logo.substr(logo.find_last_of("\\/:") + 1));
        if (found.empty())
            return {};
        file += "/" + found;
    } else {
        std::size_t start = 0;
        while (start <= logo.size()) {
            std::size_t end = logo.find_first_of("\\/", start);
            if (end == std::string_view::npos)
                end = logo.size();
            const std::string_view part = logo.substr(start, end - start);
            if (!part.empty()) {
                const std::string found = FindIgnoringCase(file, part);
                file += "/" + (found.empty() ? std::string(part) : found);
            }
            start = end + 1;
        }
    }
    // A pipe or a device would never answer the header's read.
    struct stat info;
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return texts::kLogoCannotOpen;
    std::string message;
    return CheckLogoFile(file, message) ? std::string() : message;
}

} // namespace

CheckedFile::CheckedFile(const std::string& path)
{
    std::string bytes; // kept from the read, to tell the lines of what is found
    const int status = ReadConfigBytes(path, bytes);
    if (status == kReadCannotOpen) {
        m_readable = false;
        m_problems.push_back({0, texts::kCannotOpen});
        return;
    }
    if (const std::string problem = rules::ConfigFileNameProblem(ConfigFileNameOf(path)); !problem.empty())
        m_problems.push_back({0, OneLine(problem)});
    // The window program offers to convert such a file; read as it is, the mark spoils the first line
    // and the launcher shows the text garbled. The rest is checked as if the mark were not there.
    const Utf8Signs utf8 = FindUtf8(bytes);
    if (utf8.mark)
        m_problems.push_back({1, texts::kByteOrderMark});
    if (utf8.firstLine != 0)
        m_problems.push_back({utf8.firstLine, texts::kUtf8Text, false});
    const std::string_view text = std::string_view(bytes).substr(utf8.mark ? kUtf8Mark.size() : 0);

    ReadLines lines;
    const ReadResult read = status == 0 ? ParseConfigText(text, &lines) : ReadResult{nullptr, status};
    m_ring = read.ring;
    if (m_ring) {
        CheckRing(path, lines.sections);
    } else if (read.status == kReadBadLine) {
        // The reader stops at the first line it refuses; over-long lines are worth naming all.
        bool badLineIsLong = false;
        std::size_t number = 0;
        for (std::size_t pos = 0; lines.refused != 0 && pos < text.size();) {
            ++number;
            if (NextFileLine(text, pos).size() > kMaxLineLength) {
                m_problems.push_back({number, texts::kLongLine});
                badLineIsLong = badLineIsLong || number == lines.refused;
            }
        }
        if (!badLineIsLong)
            m_problems.push_back({lines.refused, texts::kBadLine});
    } else {
        m_problems.push_back({0, texts::kEmptyFile});
    }
    std::stable_sort(m_problems.begin(), m_problems.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
}

CheckedFile::~CheckedFile()
{
    FreeSectionRing(m_ring);
}

bool CheckedFile::SaveWouldRefuse() const
{
    return std::any_of(m_problems.begin(), m_problems.end(), [](const Problem& p) { return p.refusesSave; });
}

void CheckedFile::CheckRing(const std::string& path, const std::vector<SectionLines>& lines)
{
    auto add = [&](const SectionLines& at, Field field, const std::string& message, bool refusesSave) {
        if (!message.empty())
            m_problems.push_back({LineOf(at, field), OneLine(message), refusesSave});
    };
    // Each entry field checked alone, with the others standing in as valid, so that every field's
    // problem is reported and not only the first one the Product page would show.
    constexpr std::string_view kValid = "x";

    if (!HasProductEntries(m_ring))
        m_problems.push_back({0, OneLine(texts::kNoProducts)});
    const SectionNode* general = FindSection(m_ring, kGeneralSection, kGeneralSection);
    if (!general) {
        m_problems.push_back({0, rules::GeneralTitleProblem({})});
        m_problems.push_back({0, rules::GeneralDescriptionProblem({})});
    }
    auto at = lines.begin();
    for (const SectionNode* node = m_ring->next; node != m_ring; node = node->next, ++at) {
        const std::string_view description = node->description ? *node->description : std::string_view();
        const std::string_view nodePath = node->path ? *node->path : std::string_view();
        if (node == general) {
            // The General page is the one shown after opening: Save commits it first.
            add(*at, Field::Title, rules::GeneralTitleProblem(node->title), true);
            add(*at, Field::Description, rules::GeneralDescriptionProblem(description), true);
            add(*at, Field::Path, LogoProblem(path, nodePath), false);
        } else if (IsEntrySection(*node)) {
            // The Product page refuses these only once its entry is selected, so a Save right after
            // opening the file lets them through. The title is checked as the file holds it: the
            // reader cuts it to the field.
            add(*at, Field::Header, rules::EntryNameProblem(node->name), false);
            if (!rules::EntryFieldsProblem(at->titleInFile, description, nodePath).empty()) {
                add(*at, Field::Title, rules::EntryFieldsProblem(at->titleInFile, kValid, kValid), false);
                add(*at, Field::Description, rules::EntryFieldsProblem(kValid, description, kValid), false);
                add(*at, Field::Path, rules::EntryFieldsProblem(kValid, kValid, nodePath), false);
            }
            if (IsLinuxPath(nodePath))
                add(*at, Field::Path, texts::kLinuxPath, false);
        }
    }
}

std::string FormatProblem(const std::string& path, const Problem& problem)
{
    std::string line = path + ":";
    if (problem.line != 0)
        line += std::to_string(problem.line) + ":";
    return line + " " + problem.message + "\n";
}

} // namespace vl
