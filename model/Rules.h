// What the configuration file and the launcher can carry: the limits and refusals that the pages
// apply while a person edits and that the command line checks, kept in one place so the two agree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vl::rules
{

// General section.
inline constexpr std::size_t kGeneralTitleLimit = 18;
inline constexpr std::size_t kGeneralDescriptionLimit = 239;

// Product entries. The typing limits are what a field takes as a person types; the stored limits
// are what a save accepts (a file may hold longer texts than can be typed).
inline constexpr std::size_t kEntryTitleTypingLimit = 50;
inline constexpr std::size_t kEntryTitleLimit = 63;
inline constexpr std::size_t kEntryDescriptionTypingLimit = 180;
inline constexpr std::size_t kEntryDescriptionLimit = 240;
inline constexpr std::size_t kEntryNameLimit = 51;

// The configuration's base name, as the launcher's DOS file system takes it.
inline constexpr std::size_t kBaseNameLimit = 8;

// Each check gives the message the program shows, or an empty string when the value is fine.
// Texts are the file's Windows-1252 bytes; descriptions hold their line breaks as CR LF.

// A value kept on one line of the file: no LF (it would be written as the CR LF that ends a line) and
// no NUL. A lone CR is carried: the file is read back with it.
bool IsOneLineValue(std::string_view value);

std::string GeneralTitleProblem(std::string_view title);
std::string GeneralDescriptionProblem(std::string_view description);

// An entry's three fields, checked in the order the Product page checks them.
std::string EntryFieldsProblem(std::string_view title, std::string_view description, std::string_view path);

// An entry name as typed into the tree: not over its limit, not the launcher's own "MISC" section
// (letter case as the writer compares it), no "]" (it would end the section header), one line.
std::string EntryNameProblem(std::string_view name);

// The configuration's file name (no folder), checked as Open checks it: a batch extension (the batch
// file would be written over it) or a name that is just ".ini" gives "Invalid extension".
std::string ExtensionProblem(std::string_view fileName);

// The configuration's file name (no folder), checked as Save checks it: not a batch extension, not
// just ".ini", at most eight characters before ".ini", and nothing a DOS command line would take
// apart (blanks, control characters, bytes outside printable ASCII, & | < > ^ % " , ; = +).
std::string ConfigFileNameProblem(std::string_view fileName);

} // namespace vl::rules
