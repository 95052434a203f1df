// Paths: the program folder, folder and file-name parts, the current directory.
#include "Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace platform
{

namespace
{
QString g_programFolderOverride;
} // namespace

void SetProgramFolderOverride(const QString& folder)
{
    g_programFolderOverride = folder;
}

QString ProgramFolder()
{
    QString folder =
        g_programFolderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolderOverride;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString ProgramPath()
{
    return QCoreApplication::applicationFilePath();
}

static qsizetype LastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString FolderOf(const QString& path)
{
    const qsizetype sep = LastSeparator(path);
    return sep < 0 ? QString() : path.left(sep + 1);
}

QString FileNameOf(const QString& path)
{
    return path.mid(LastSeparator(path) + 1);
}

QString CurrentDirectory()
{
    return QDir::currentPath();
}

bool SetCurrentDirectory(const QString& folder)
{
    return QDir::setCurrent(folder);
}

CurrentDirectoryKeeper::CurrentDirectoryKeeper() : m_saved(CurrentDirectory())
{
}

CurrentDirectoryKeeper::~CurrentDirectoryKeeper()
{
    SetCurrentDirectory(m_saved);
}

} // namespace platform
