// The program's settings and its recent-file list, kept with QSettings.
#pragma once

#include <QSettings>
#include <QStringList>
#include <memory>

namespace platform
{

inline constexpr int kRecentFileCount = 4;

// QSettings of organisation "Local AppWizard-Generated Applications" and application "Salvage Deck".
std::unique_ptr<QSettings> OpenSettings();
// Removes the settings file; true when it is gone.
bool RemoveSettings();

// The recent files, newest first, at most kRecentFileCount; kept in the group "Recent File List"
// under File1 to File4.
class RecentFileList
{
  public:
    void Load();
    void Save() const;
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Files() const { return m_files; }

  private:
    QStringList m_files;
};

} // namespace platform
