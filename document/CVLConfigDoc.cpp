// The one document: New, Open, Save, Close and Preview.
#include "CVLConfigDoc.h"

#include "CommandIds.h"
#include "Preview.h"
#include "model/AtomicFile.h"
#include "model/BatchFile.h"
#include "model/CaseFold.h"
#include "model/CodePage.h"
#include "model/ConfigFile.h"
#include "model/Rules.h"
#include "model/Texts.h"
#include "platform/FileDialogService.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>

namespace vl
{

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::ShowMessage;

std::string LocalPath(const QString& path)
{
    return platform::FileNameBytes(path);
}

CVLConfigDoc::CVLConfigDoc(QObject* parent) : DocumentBase(parent)
{
}

CVLConfigDoc::~CVLConfigDoc()
{
    FreeSectionRing(m_pRing);
}

QString CVLConfigDoc::ReadStatusMessage(int status)
{
    switch (status) {
    case kReadCannotOpen:
        return QString::fromLatin1(texts::kCannotOpen);
    case kReadBadLine:
        return QString::fromLatin1(texts::kBadLine);
    case kReadNoSection:
        return QString::fromLatin1(texts::kEmptyFile) + QString::fromLatin1(texts::kEmptyFileQuestion);
    default:
        return QString::fromLatin1(texts::kUnknownError);
    }
}

QString CVLConfigDoc::ConfigFolder() const
{
    return PathName().isEmpty() ? m_takenFolder : platform::FolderOf(PathName());
}

void CVLConfigDoc::TakeFolder(const QString& folder)
{
    if (ConfigFolder().isEmpty())
        m_takenFolder = folder;
}

QString CVLConfigDoc::SaveAsFolder() const
{
    return PathName().isEmpty() ? m_takenFolder : QString();
}

bool CVLConfigDoc::ValidatePage()
{
    return !m_validator || m_validator->ValidateCurrentPage();
}

// Reads the configuration at path; on success it replaces the ring held so far. With converted, a file
// written as UTF-8 (by a Linux editor) is offered for conversion, and converted tells whether it was.
bool CVLConfigDoc::TakeRing(const QString& path, bool* converted)
{
    std::string bytes;
    const int status = ReadConfigBytes(LocalPath(path), bytes);
    if (status == 0 && converted && FindUtf8(bytes).Any() &&
        ShowMessage(
            QStringLiteral("This file holds UTF-8 text, as a Linux editor writes it, but the launcher "
                           "reads Windows-1252.\nWould you like to convert its text to Windows-1252 ?"),
            MsgButtons::YesNo) == MsgAnswer::Yes) {
        std::size_t badLine = 0;
        std::optional<std::string> text = Utf8ToCp1252(bytes, badLine);
        if (!text) {
            ShowMessage(QStringLiteral("Line %1 holds a character that Windows-1252 cannot hold.\nThe file "
                                       "cannot be converted.")
                            .arg(badLine));
            return false;
        }
        bytes = std::move(*text);
        *converted = true;
    }
    const ReadResult result = status == 0 ? ParseConfigText(bytes) : ReadResult{nullptr, status};
    if (!result.ring) {
        ShowMessage(ReadStatusMessage(result.status));
        return false;
    }
    FreeSectionRing(m_pRing);
    m_pRing = result.ring;
    return true;
}

bool CVLConfigDoc::OnNewDocument()
{
    // The data folder belongs to the system: it is read here, never made the current directory.
    const QString programFolder = platform::ProgramFolder();
    QString templatePath = programFolder + TemplateName();

    // Asked without blocking: a pipe there is found, and then refused by the reader.
    if (!CanOpenForReading(LocalPath(templatePath))) {
        if (ShowMessage(
                QStringLiteral("Unable to locate the default config file(.cfg)\nWould you like to find it "
                               "yourself ?"),
                MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
        platform::FileDialogRequest request;
        request.kind = platform::FileDialogRequest::Kind::Open;
        request.filter = QStringLiteral("Default Configuration File|*.cfg|(All Files)|*.*|");
        request.defaultExtension = QStringLiteral("*.cfg");
        request.initialName = QStringLiteral("VLDefault");
        request.initialFolder = programFolder;
        request.hideReadOnly = true;
        request.overwritePrompt = true;
        request.owner = m_window;
        const auto chosen = platform::FileDialogs().Run(request);
        if (!chosen)
            return false;
        templatePath = QFileInfo(*chosen).absoluteFilePath();
    }

    if (!TakeRing(templatePath))
        return false;
    NewDocumentStep();
    m_takenFolder.clear();
    emit configurationReplaced();
    return true;
}

bool CVLConfigDoc::OnOpenDocument(const QString& path)
{
    if (!SaveModified())
        return false;
    const std::string extensionProblem = rules::ExtensionProblem(LocalPath(platform::FileNameOf(path)));
    if (!extensionProblem.empty()) {
        ShowMessage(QString::fromStdString(extensionProblem));
        return false;
    }
    bool converted = false;
    if (!TakeRing(path, &converted))
        return false;
    SetPathName(path);
    emit configurationReplaced();
    // Converted, the file on disk is not what the document holds until it is saved.
    SetModifiedFlag(converted);
    return true;
}

bool CVLConfigDoc::OnSaveDocument(const QString& path)
{
    if (!ValidatePage())
        return false;
    if (!m_pRing)
        return false;
    if (!HasProductEntries(m_pRing)) {
        ShowMessage(QString::fromLatin1(texts::kNoProducts));
        return false;
    }
    const std::string nameProblem = rules::ConfigFileNameProblem(LocalPath(platform::FileNameOf(path)));
    if (!nameProblem.empty()) {
        ShowMessage(QString::fromStdString(nameProblem));
        return false;
    }
    // Ask before replacing a batch file that some other configuration may have written.
    const QString batchPath = platform::FileNameFromBytes(BatchPathFor(LocalPath(path)));
    if (path != PathName() && QFileInfo::exists(batchPath)) {
        if (ShowMessage(QStringLiteral("Batch file(.bat) name already exists.\nDo you want to replace it ?"),
                        MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
    }

    // The document takes the new name only once the file is written, so that a failed save leaves the
    // title, the recent files and the next plain Save where they were.
    if (const Status saved = WriteConfigFile(LocalPath(path), m_pRing); !saved) {
        ShowMessage(QStringLiteral("Unable to save the file %1.\n%2")
                        .arg(path, QString::fromLocal8Bit(saved.Reason())));
        return false;
    }
    SetPathName(path);
    const Status batch = WriteBatchFile(LocalPath(path), m_pRing);
    if (batch) {
        ShowMessage(
            QStringLiteral("A configuration file (.INI) and a batch file (.BAT), both with the same name "
                           "and folder path, have been created. You can launch the batch file separately "
                           "to start Salvage Deck with the configuration file (or, you can click Preview)."));
    } else {
        ShowMessage(QStringLiteral("Unable to write the batch file %1.\n%2")
                        .arg(batchPath, QString::fromLocal8Bit(batch.Reason())));
    }
    SetModifiedFlag(false);
    return true;
}

void CVLConfigDoc::OnCloseDocument()
{
    FreeSectionRing(m_pRing);
    m_pRing = nullptr;
}

void CVLConfigDoc::OnFileSave()
{
    if (ValidatePage())
        DoFileSave();
}

void CVLConfigDoc::OnFileSaveAs()
{
    if (ValidatePage())
        DoSave(QString());
}

void CVLConfigDoc::OnPreview()
{
    // A configuration never saved has no batch file to run.
    if (IsModified() || PathName().isEmpty()) {
        ShowMessage(QStringLiteral("File not yet saved."));
        return;
    }
    RunPreview(PathName(), m_window);
}

bool CVLConfigDoc::UpdateCommand(int id, platform::CommandState&)
{
    return id == cmd::kFileSave || id == cmd::kFileSaveAs || id == cmd::kPreview;
}

bool CVLConfigDoc::ExecuteCommand(int id)
{
    switch (id) {
    case cmd::kFileSave:
        OnFileSave();
        return true;
    case cmd::kFileSaveAs:
        OnFileSaveAs();
        return true;
    case cmd::kPreview:
        OnPreview();
        return true;
    default:
        return false;
    }
}

} // namespace vl
