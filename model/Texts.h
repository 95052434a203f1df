// The messages that both the window program and the command line show, each written once.
#pragma once

namespace vl::texts
{

// Reading a configuration.
inline constexpr const char* kCannotOpen = "File not found in the given location or Unable to open the file";
inline constexpr const char* kBadLine = "This file is not containing any valid keys to read..!!";
inline constexpr const char* kEmptyFile = "This is an empty file ..!";
// The window program asks this after kEmptyFile; a report line has no one to ask.
inline constexpr const char* kEmptyFileQuestion = "\nWould you like to continue with the same file?";
inline constexpr const char* kUnknownError = "UnKnown Error...!!";

// Saving.
inline constexpr const char* kNoProducts =
    "There are no products listed under \"Velmora Products\" heading.\n"
    "You must add one or more products before you can save.";
inline constexpr const char* kInvalidExtension = "Invalid extension";
inline constexpr const char* kFileNameTooLong = "File name should be less than eight charachers";
inline constexpr const char* kFileNameNotBatchSafe =
    "The file name cannot be written into the batch file.\n"
    "Use no blanks, no accented letters and none of & | < > ^ % \" , ; = +";

// The fields' limits and refusals.
inline constexpr const char* kGeneralTitle = "Please enter the title less than 19 characters";
inline constexpr const char* kGeneralDescription = "Please enter the description less than 180 characters";
inline constexpr const char* kEntryTitle = "Please enter the title less than 50 characters";
inline constexpr const char* kEntryDescription = "Please enter the description less than 180 characters";
inline constexpr const char* kEntryPath = "Please enter the valid file path";
inline constexpr const char* kEntryNameTooLong = "Please enter the product label less than 50 characters";
inline constexpr const char* kEntryNameMisc =
    "The name \"MISC\" is kept for the launcher's own settings.\nTry with different name";
inline constexpr const char* kEntryNameBadCharacter =
    "A product name cannot hold \"]\" or a line break.\nTry with different name";

// The company logo.
inline constexpr const char* kLogoCannotOpen = "Unable to open the specified file..!!";
inline constexpr const char* kLogoNotPcx2 = "The specified file is not a valid PCX Version 2 image.";
inline constexpr const char* kLogoTooLarge = "Image cannot be larger than 120x120 pixels..!!";

// Only the command line's report: a line the launcher would cut, and what the launcher on its medium
// cannot use.
inline constexpr const char* kLongLine = "This line is longer than the launcher reads (1022 bytes).";
inline constexpr const char* kLinuxPath =
    "This is a Linux path; the launcher reads paths on its medium in DOS form (LOGO.PCX, TOOLS\\RUN.EXE).";
inline constexpr const char* kUtf8Text =
    "This line holds UTF-8 text, as a Linux editor writes it; the launcher shows Windows-1252 text.";
inline constexpr const char* kByteOrderMark =
    "The file starts with a UTF-8 byte-order mark, which the launcher reads as part of its first line.";

} // namespace vl::texts
