// Paths: the program's data folder, where dialogs start, folder and file-name parts, the current directory.
#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

static QString WithSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString DataFolderOf(const QString& executableFolder)
{
    const QString installed = QDir::cleanPath(executableFolder + QStringLiteral("/../share/vlconfig"));
    return WithSlash(QFileInfo(installed).isDir() ? installed : executableFolder);
}

QString ProgramFolder()
{
    return g_programFolderOverride.isEmpty() ? DataFolderOf(QCoreApplication::applicationDirPath())
                                             : WithSlash(g_programFolderOverride);
}

QString StartFolder()
{
    const QString current = CurrentDirectory();
    return WithSlash(QDir(current).isRoot() ? QDir::homePath() : current);
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
