// The program's settings and its recent-file list.
#include "Settings.h"

#include <QFile>

namespace platform
{

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Local AppWizard-Generated Applications"),
                                       QStringLiteral("Salvage Deck"));
}

bool RemoveSettings()
{
    QString file;
    {
        auto settings = OpenSettings();
        file = settings->fileName();
        settings->clear();
        settings->sync();
    }
    return !QFile::exists(file) || QFile::remove(file);
}

static QString KeyOf(int i)
{
    return QStringLiteral("File%1").arg(i + 1);
}

void RecentFileList::Load()
{
    m_files.clear();
    auto settings = OpenSettings();
    settings->beginGroup(QStringLiteral("Recent File List"));
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString path = settings->value(KeyOf(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void RecentFileList::Save() const
{
    auto settings = OpenSettings();
    settings->beginGroup(QStringLiteral("Recent File List"));
    for (int i = 0; i < kRecentFileCount; ++i) {
        if (i < m_files.size())
            settings->setValue(KeyOf(i), m_files[i]);
        else
            settings->remove(KeyOf(i));
    }
}

void RecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > kRecentFileCount)
        m_files.removeLast();
}

void RecentFileList::Remove(const QString& path)
{
    m_files.removeAll(path);
}

} // namespace platform
