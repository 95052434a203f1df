// The limits and refusals shared by the pages and the command line.
#include "Rules.h"

#include "CaseFold.h"
#include "Texts.h"

namespace vl::rules
{

bool IsOneLineValue(std::string_view value)
{
    // A lone CR is kept: the reader takes it and the writer gives it back unchanged. A plain loop,
    // as every entry's fields are checked.
    for (const char c : value) {
        if (c == '\n' || c == '\0')
            return false;
    }
    return true;
}

std::string GeneralTitleProblem(std::string_view title)
{
    if (title.empty() || title.size() > kGeneralTitleLimit || !IsOneLineValue(title))
        return texts::kGeneralTitle;
    return {};
}

std::string GeneralDescriptionProblem(std::string_view description)
{
    if (description.empty() || description.size() > kGeneralDescriptionLimit)
        return texts::kGeneralDescription;
    return {};
}

std::string EntryFieldsProblem(std::string_view title, std::string_view description, std::string_view path)
{
    if (title.empty() || title.size() > kEntryTitleLimit || !IsOneLineValue(title))
        return texts::kEntryTitle;
    if (description.empty() || description.size() > kEntryDescriptionLimit)
        return texts::kEntryDescription;
    if (path.empty() || !IsOneLineValue(path))
        return texts::kEntryPath;
    return {};
}

std::string EntryNameProblem(std::string_view name)
{
    if (name.size() > kEntryNameLimit)
        return texts::kEntryNameTooLong;
    if (name == "MISC")
        return texts::kEntryNameMisc;
    if (name.find_first_of(std::string_view("]\r\n\0", 4)) != std::string_view::npos)
        return texts::kEntryNameBadCharacter;
    return {};
}

namespace
{

bool EndsWithBatchExtension(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    return dot != std::string_view::npos && EqualsIgnoreCase(fileName.substr(dot), ".bat");
}

bool IsBatchSafe(unsigned char c)
{
    if (c <= 0x20 || c >= 0x7F)
        return false;
    return std::string_view("&|<>^%\",;=+").find(static_cast<char>(c)) == std::string_view::npos;
}

} // namespace

std::string ExtensionProblem(std::string_view fileName)
{
    if (EndsWithBatchExtension(fileName) || EqualsIgnoreCase(fileName, ".ini"))
        return texts::kInvalidExtension;
    return {};
}

std::string ConfigFileNameProblem(std::string_view fileName)
{
    if (std::string problem = ExtensionProblem(fileName); !problem.empty())
        return problem;
    // The base name counts up to the first ".ini" written in lower case, so "AB.INI" counts six.
    std::string_view base = fileName.substr(0, fileName.find(".ini"));
    if (base.size() > kBaseNameLimit)
        return texts::kFileNameTooLong;
    for (unsigned char c : fileName) {
        if (!IsBatchSafe(c))
            return texts::kFileNameNotBatchSafe;
    }
    return {};
}

} // namespace vl::rules
