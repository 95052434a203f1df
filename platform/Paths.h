// Paths: the program folder, folder and file-name parts (both separators), the current directory.
#pragma once

#include <QString>

namespace platform
{

// The folder of the running executable, ending in "/".
QString ProgramFolder();
// Makes ProgramFolder() give another folder (tests keep their template there); empty undoes it.
void SetProgramFolderOverride(const QString& folder);
// The running executable's full path.
QString ProgramPath();

// The part of path up to and including its last "/" or "\"; empty when it has none.
QString FolderOf(const QString& path);
// The part of path after its last "/" or "\".
QString FileNameOf(const QString& path);

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
