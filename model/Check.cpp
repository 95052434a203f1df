// The check of a configuration file without a window.
#include "Check.h"

#include "BatchFile.h"
#include "CaseFold.h"
#include "ConfigFile.h"
#include "LogoCheck.h"
#include "Rules.h"
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

// The lines of a file, split as the reader splits them: at LF, a CR before it not counted.
template <typename Visit> void ForEachLine(std::string_view bytes, Visit visit)
{
    std::size_t number = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        std::string_view line = bytes.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        else if (line.ends_with('\r'))
            line.remove_suffix(1);
        pos = end + 1;
        visit(++number, line);
    }
}

enum class Field { None, Header, Title, Description, Path };

// Where each section's fields came from, for a file the reader took. A section header is every line
// that begins with "[" (the reader refuses any other), and within a section the field's last line
// counts, an empty description or path line only when no line had text (the reader keeps the earlier
// text then).
struct SectionLines {
    std::size_t header = 0;
    std::size_t title = 0;
    std::size_t description = 0;
    std::size_t path = 0;
    bool descriptionHasText = false; // an empty line is only named when no line had text
    bool pathHasText = false;
    std::string_view titleValue; // as the file holds it, before the reader cut it to the field's capacity

    std::size_t LineOf(Field field) const
    {
        const std::size_t line = field == Field::Title         ? title
                                 : field == Field::Description ? description
                                 : field == Field::Path        ? path
                                                               : 0;
        return line ? line : header;
    }
};

// A later line with text replaces the earlier one; an empty one only an empty one.
void Note(std::size_t& line, bool& hasText, std::size_t number, bool withText)
{
    if (withText || !hasText)
        line = number;
    hasText = hasText || withText;
}

// The lines of every section; their fields' lines only for the wanted ones (by ring position).
std::vector<SectionLines> IndexSections(std::string_view bytes, const std::vector<bool>& wanted)
{
    std::vector<SectionLines> sections;
    sections.reserve(wanted.size());
    ForEachLine(bytes, [&](std::size_t number, std::string_view line) {
        if (line.starts_with('[')) {
            sections.push_back({number, 0, 0, 0, false, false, {}});
        } else if (!sections.empty() && sections.size() <= wanted.size() && wanted[sections.size() - 1]) {
            SectionLines& s = sections.back();
            if (StartsWithIgnoreCase(line, "TITLE=")) {
                s.title = number;
                s.titleValue = line.substr(6);
            } else if (StartsWithIgnoreCase(line, "DESCRIPTION=")) {
                Note(s.description, s.descriptionHasText, number, line.size() > 12);
            } else if (StartsWithIgnoreCase(line, "PATH=")) {
                Note(s.path, s.pathHasText, number, line.size() > 5);
            }
        }
    });
    return sections;
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
    if (logo.empty() || logo[0] == '/')
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
    std::size_t badLine = 0;
    std::string bytes; // kept from the read, to tell the lines of what is found
    const ReadResult read = ReadConfigFile(path, &badLine, &bytes);
    if (read.status == kReadCannotOpen) {
        m_readable = false;
        m_problems.push_back({0, texts::kCannotOpen});
        return;
    }
    if (const std::string problem = rules::ConfigFileNameProblem(ConfigFileNameOf(path)); !problem.empty())
        m_problems.push_back({0, OneLine(problem)});

    m_ring = read.ring;
    if (m_ring) {
        CheckRing(path, bytes);
    } else if (read.status == kReadBadLine) {
        // The reader stops at the first line it refuses; over-long lines are worth naming all.
        bool badLineIsLong = false;
        if (badLine != 0) {
            ForEachLine(bytes, [&](std::size_t number, std::string_view line) {
                if (line.size() > kMaxLineLength) {
                    m_problems.push_back({number, texts::kLongLine});
                    badLineIsLong = badLineIsLong || number == badLine;
                }
            });
        }
        if (!badLineIsLong)
            m_problems.push_back({badLine, texts::kBadLine});
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

void CheckedFile::CheckRing(const std::string& path, std::string_view bytes)
{
    struct Finding {
        std::size_t section; // from 0, in ring order
        Field field;
        std::string message;
        bool refusesSave = true;
    };
    std::vector<Finding> findings;
    auto add = [&](std::size_t section, Field field, const std::string& message, bool refusesSave) {
        if (!message.empty())
            findings.push_back({section, field, OneLine(message), refusesSave});
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
    std::size_t index = 0;
    std::vector<std::size_t> maybeCut; // entries whose title fills the field: the file's may be longer
    for (const SectionNode* node = m_ring->next; node != m_ring; node = node->next, ++index) {
        const std::string_view description = node->description ? *node->description : std::string_view();
        const std::string_view nodePath = node->path ? *node->path : std::string_view();
        if (node == general) {
            // The General page is the one shown after opening: Save commits it first.
            add(index, Field::Title, rules::GeneralTitleProblem(node->title), true);
            add(index, Field::Description, rules::GeneralDescriptionProblem(description), true);
            add(index, Field::Path, LogoProblem(path, nodePath), false);
        } else if (IsEntrySection(*node)) {
            // The Product page refuses these only once its entry is selected, so a Save right after
            // opening the file lets them through.
            add(index, Field::Header, rules::EntryNameProblem(node->name), false);
            if (!rules::EntryFieldsProblem(node->title, description, nodePath).empty()) {
                add(index, Field::Title, rules::EntryFieldsProblem(node->title, kValid, kValid), false);
                add(index, Field::Description, rules::EntryFieldsProblem(kValid, description, kValid), false);
                add(index, Field::Path, rules::EntryFieldsProblem(kValid, kValid, nodePath), false);
            }
            if (node->title.size() == kFieldCapacity &&
                rules::EntryFieldsProblem(node->title, kValid, kValid).empty())
                maybeCut.push_back(index);
        }
    }
    if (findings.empty() && maybeCut.empty())
        return;

    // Only now is it worth going through the lines, for the sections concerned.
    std::vector<bool> wanted(index);
    for (const Finding& f : findings)
        wanted[f.section] = true;
    for (const std::size_t section : maybeCut)
        wanted[section] = true;
    const std::vector<SectionLines> lines = IndexSections(bytes, wanted);
    for (const std::size_t section : maybeCut) {
        if (section < lines.size() && lines[section].titleValue.size() > kFieldCapacity)
            add(section, Field::Title, rules::EntryFieldsProblem(lines[section].titleValue, kValid, kValid),
                false);
    }
    for (const Finding& f : findings)
        m_problems.push_back(
            {f.section < lines.size() ? lines[f.section].LineOf(f.field) : 0, f.message, f.refusesSave});
}

std::string FormatProblem(const std::string& path, const Problem& problem)
{
    std::string line = path + ":";
    if (problem.line != 0)
        line += std::to_string(problem.line) + ":";
    return line + " " + problem.message + "\n";
}

} // namespace vl
