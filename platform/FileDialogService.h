// Open and save dialogs: one service, a real one over QFileDialog and a scriptable one for tests.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace platform
{

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString filter;           // the program's form: "Name|*.ext|Name|*.*|"
    QString initialFolder;    // empty: where the last such dialog ended, at first StartFolder()
    QString initialName;      // may be a pattern such as "*.pcx"
    QString defaultExtension; // "ini", ".ini" or "*.ini"; added to a typed name without one
    bool hideReadOnly = true;
    bool overwritePrompt = false;
    bool mustExist = false; // Open: the chosen file must exist
    QWidget* owner = nullptr;
};

// The Qt name filters of a "Name|pattern|Name|pattern|" text.
QStringList NameFiltersOf(const QString& filter);
// The chosen name with the default extension added when it has none.
QString WithDefaultExtension(const QString& chosen, const QString& defaultExtension);

class FileDialogService
{
  public:
    virtual ~FileDialogService() = default;
    // The chosen file's full path, or none when the dialog was cancelled.
    virtual std::optional<QString> Run(const FileDialogRequest& request) = 0;
};

class QtFileDialogService : public FileDialogService
{
  public:
    std::optional<QString> Run(const FileDialogRequest& request) override;

  private:
    // The folder of the last file chosen in a dialog that was given no folder (Open, Save As).
    QString m_lastFolder;
};

// Answers from a queue of paths (none cancels) and records each request. A dialog with no queued
// answer is recorded as unexpected and cancelled.
class ScriptedFileDialogService : public FileDialogService
{
  public:
    std::optional<QString> Run(const FileDialogRequest& request) override;
    void QueueAnswer(std::optional<QString> answer) { m_answers.append(answer); }
    QList<FileDialogRequest> TakeRequests();
    int Unexpected() const { return m_unexpected; }
    int QueuedAnswers() const { return static_cast<int>(m_answers.size()); }

  private:
    QList<std::optional<QString>> m_answers;
    QList<FileDialogRequest> m_requests;
    int m_unexpected = 0;
};

FileDialogService& FileDialogs();
void SetFileDialogService(FileDialogService* service); // none restores the real one

} // namespace platform
