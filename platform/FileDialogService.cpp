// Open and save dialogs.
#include "FileDialogService.h"

#include "Paths.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace platform
{

QStringList NameFiltersOf(const QString& filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        const QString patterns = parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '));
        // A name that already shows its patterns, "Configuration Files (*.ini)", is taken as it is.
        if (parts[i].contains(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters.append(parts[i]);
        else
            filters.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

QString WithDefaultExtension(const QString& chosen, const QString& defaultExtension)
{
    QString ext = defaultExtension;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext.isEmpty() || chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + QLatin1Char('.') + ext;
}

std::optional<QString> QtFileDialogService::Run(const FileDialogRequest& request)
{
    QFileDialog dialog(request.owner);
    const bool open = request.kind == FileDialogRequest::Kind::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open && request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(NameFiltersOf(request.filter));
    // Always a folder of our own: left alone, the dialog starts in the current directory or in a
    // folder Qt remembered in its own settings, which may be the system's.
    const bool remembered = request.initialFolder.isEmpty();
    if (!remembered)
        dialog.setDirectory(request.initialFolder);
    else
        dialog.setDirectory(m_lastFolder.isEmpty() ? StartFolder() : m_lastFolder);
    if (!request.initialName.isEmpty() && !request.initialName.contains(QLatin1Char('*')))
        dialog.selectFile(request.initialName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt || open);
    dialog.setOption(QFileDialog::ReadOnly, false);
    QString ext = request.defaultExtension;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    if (remembered)
        m_lastFolder = chosen.absolutePath();
    return QDir::toNativeSeparators(chosen.absoluteFilePath());
}

std::optional<QString> ScriptedFileDialogService::Run(const FileDialogRequest& request)
{
    m_requests.append(request);
    if (m_answers.isEmpty()) {
        ++m_unexpected;
        return std::nullopt;
    }
    return m_answers.takeFirst();
}

QList<FileDialogRequest> ScriptedFileDialogService::TakeRequests()
{
    QList<FileDialogRequest> requests;
    requests.swap(m_requests);
    return requests;
}

namespace
{
FileDialogService* g_dialogs = nullptr;
} // namespace

FileDialogService& FileDialogs()
{
    static QtFileDialogService real;
    return g_dialogs ? *g_dialogs : real;
}

void SetFileDialogService(FileDialogService* service)
{
    g_dialogs = service;
}

} // namespace platform
