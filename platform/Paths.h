// Paths: the program's data folder, where dialogs start, folder and file-name parts (both
// separators), the current directory.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platform
{

// The program's data folder (the default template, the help file), ending in "/":
// DataFolderOf() the running executable's folder.
QString ProgramFolder();
// "../share/vlconfig/" from executableFolder when that exists (an installed tree), else
// executableFolder itself (the build tree); ending in "/".
QString DataFolderOf(const QString& executableFolder);
// Makes ProgramFolder() give another folder (tests keep their template there); empty undoes it.
void SetProgramFolderOverride(const QString& folder);
// Where a file dialog with nothing remembered starts: the folder the program was started from
// (the program never changes its current directory), or the user's home when that is the root,
// which is where desktop sessions often start programs and where nobody may save. Ends in "/".
QString StartFolder();
// The running executable's full path.
QString ProgramPath();

// The part of path up to and including its last "/" or "\"; empty when it has none.
QString FolderOf(const QString& path);
// The part of path after its last "/" or "\".
QString FileNameOf(const QString& path);

// A file name as the file system holds it, bytes that need not be UTF-8 (a name from a Windows-1252
// medium), and back. A byte that is no UTF-8 is held as the lone surrogate U+DC80 plus its value less
// 0x80, which no UTF-8 name can give, so every name comes back byte for byte (Qt's own conversion
// turns such bytes into U+FFFD).
QString FileNameFromBytes(std::string_view bytes);
std::string FileNameBytes(const QString& name);

// path made absolute against the current directory and cleaned, its bytes kept (QFileInfo's
// absoluteFilePath() loses those that are no UTF-8).
QString AbsoluteFilePath(const QString& path);
QString CurrentDirectory();
bool SetCurrentDirectory(const QString& folder);

// Restores the process's current directory when it goes out of scope.
class CurrentDirectoryKeeper
{
  public:
    CurrentDirectoryKeeper();
    ~CurrentDirectoryKeeper();
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

  private:
    QString m_saved;
};

} // namespace platform
