// The document base.
#include "DocumentBase.h"

#include "FileDialogService.h"
#include "MessageService.h"
#include "Paths.h"

namespace platform
{

DocumentBase::DocumentBase(QObject* parent) : QObject(parent), m_title(DefaultTitle())
{
}

void DocumentBase::SetPathName(const QString& path, bool addToRecent)
{
    m_pathName = path;
    SetTitle(FileNameOf(path));
    if (addToRecent)
        emit addedToRecentFiles(path);
}

void DocumentBase::SetTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged(m_title);
}

void DocumentBase::SetModifiedFlag(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(m_modified);
}

bool DocumentBase::NewDocumentStep()
{
    m_pathName.clear();
    SetTitle(DefaultTitle());
    SetModifiedFlag(false);
    return true;
}

bool DocumentBase::SaveModified()
{
    if (!m_modified)
        return true;
    const QString name = m_pathName.isEmpty() ? m_title : FileNameOf(m_pathName);
    switch (ShowMessage(QStringLiteral("Save changes to %1?").arg(name), MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return DoFileSave();
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool DocumentBase::DoFileSave()
{
    return DoSave(m_pathName);
}

bool DocumentBase::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        FileDialogRequest request;
        request.kind = FileDialogRequest::Kind::Save;
        request.filter = SaveFilter();
        request.defaultExtension = DefaultExtension();
        request.initialFolder = SaveAsFolder();
        request.initialName = m_pathName.isEmpty() ? m_title : m_pathName;
        request.overwritePrompt = true;
        const auto chosen = FileDialogs().Run(request);
        if (!chosen)
            return false;
        target = WithDefaultExtension(*chosen, request.defaultExtension);
    }
    // A refused or failed save leaves every file as it was; nothing is deleted here.
    return OnSaveDocument(target);
}

bool DocumentBase::OnNewDocument()
{
    return NewDocumentStep();
}

bool DocumentBase::OnOpenDocument(const QString& path)
{
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

bool DocumentBase::OnSaveDocument(const QString& path)
{
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

void DocumentBase::OnCloseDocument()
{
}

} // namespace platform
