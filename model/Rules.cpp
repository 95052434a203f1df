// The limits and refusals shared by the pages and the command line.
#include "Rules.h"

#include "CaseFold.h"

namespace vl::rules
{

const char* const kInvalidExtension = "Invalid extension";
const char* const kFileNameTooLong = "File name should be less than eight charachers";
const char* const kFileNameNotBatchSafe =
    "The file name cannot be written into the batch file.\n"
    "Use no blanks, no accented letters and none of & | < > ^ % \" , ; = +";

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
        return "Please enter the title less than 19 characters";
    return {};
}

std::string GeneralDescriptionProblem(std::string_view description)
{
    if (description.empty() || description.size() > kGeneralDescriptionLimit)
        return "Please enter the description less than 180 characters";
    return {};
}

std::string EntryFieldsProblem(std::string_view title, std::string_view description, std::string_view path)
{
    if (title.empty() || title.size() > kEntryTitleLimit || !IsOneLineValue(title))
        return "Please enter the title less than 50 characters";
    if (description.empty() || description.size() > kEntryDescriptionLimit)
        return "Please enter the description less than 180 characters";
    if (path.empty() || !IsOneLineValue(path))
        return "Please enter the valid file path";
    return {};
}

std::string EntryNameProblem(std::string_view name)
{
    if (name.size() > kEntryNameLimit)
        return "Please enter the product label less than 50 characters";
    if (name == "MISC")
        return "The name \"MISC\" is kept for the launcher's own settings.\nTry with different name";
    if (name.find_first_of(std::string_view("]\r\n\0", 4)) != std::string_view::npos)
        return "A product name cannot hold \"]\" or a line break.\nTry with different name";
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

std::string ConfigFileNameProblem(std::string_view fileName)
{
    if (EndsWithBatchExtension(fileName) || EqualsIgnoreCase(fileName, ".ini"))
        return kInvalidExtension;
    // The base name counts up to the first ".ini" written in lower case, so "AB.INI" counts six.
    std::string_view base = fileName.substr(0, fileName.find(".ini"));
    if (base.size() > kBaseNameLimit)
        return kFileNameTooLong;
    for (unsigned char c : fileName) {
        if (!IsBatchSafe(c))
            return kFileNameNotBatchSafe;
    }
    return {};
}

} // namespace vl::rules
