// Paths: the program's data folder, where dialogs start, folder and file-name parts, the current directory.
#include "Paths.h"

#include "model/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstring>
#include <unistd.h>

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

QString FileNameFromBytes(std::string_view bytes)
{
    QString name;
    name.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t c = 0;
        const std::size_t length = vl::DecodeUtf8(bytes, pos, &c);
        if (length == 0)
            c = 0xDC00 + static_cast<unsigned char>(bytes[pos]);
        name += QString::fromUcs4(&c, 1);
        pos += std::max<std::size_t>(length, 1);
    }
    return name;
}

std::string FileNameBytes(const QString& name)
{
    std::string bytes;
    qsizetype done = 0; // what is before it is in bytes
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const bool escaped = i < name.size() && name[i].unicode() >= 0xDC80 && name[i].unicode() <= 0xDCFF &&
                             (i == 0 || !name[i - 1].isHighSurrogate());
        if (!escaped && i < name.size())
            continue;
        bytes += QStringView(name).sliced(done, i - done).toUtf8().toStdString();
        if (escaped)
            bytes.push_back(static_cast<char>(name[i].unicode() - 0xDC00));
        done = i + 1;
    }
    return bytes;
}

QString AbsoluteFilePath(const QString& path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : CurrentDirectory() + QLatin1Char('/') + path);
}

QString CurrentDirectory()
{
    // By its bytes, as every name here: QDir's would lose those that are no UTF-8.
    std::string folder(PATH_MAX, '\0');
    if (!getcwd(folder.data(), folder.size()))
        return QDir::currentPath();
    folder.resize(std::strlen(folder.c_str()));
    return FileNameFromBytes(folder);
}

bool SetCurrentDirectory(const QString& folder)
{
    return chdir(FileNameBytes(folder).c_str()) == 0;
}

CurrentDirectoryKeeper::CurrentDirectoryKeeper() : m_saved(CurrentDirectory())
{
}

CurrentDirectoryKeeper::~CurrentDirectoryKeeper()
{
    SetCurrentDirectory(m_saved);
}

} // namespace platform
