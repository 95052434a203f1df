// What every page of the main window offers.
#include "Page.h"

#include "document/CommandIds.h"
#include "model/DosPath.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vl
{

namespace
{

// path relative to folder, with "/" between its parts; none when it lies outside folder. Links are
// followed only when the paths as written do not meet.
std::optional<QString> PathBelow(const QString& folder, const QString& path)
{
    for (const bool canonical : {false, true}) {
        const QString from =
            canonical ? QFileInfo(folder).canonicalFilePath() : QDir::cleanPath(QDir(folder).absolutePath());
        const QString to = canonical ? QFileInfo(path).canonicalFilePath()
                                     : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        if (from.isEmpty() || to.isEmpty())
            continue;
        const QString relative = QDir(from).relativeFilePath(to);
        if (!relative.isEmpty() && relative != QLatin1String("..") &&
            !relative.startsWith(QLatin1String("../")) && !QDir::isAbsolutePath(relative))
            return relative;
    }
    return std::nullopt;
}

} // namespace

CPage::CPage(int pageId, PageHost* host, QWidget* parent) : QWidget(parent), m_pageId(pageId), m_host(host)
{
}

bool CPage::UpdateCommand(int, platform::CommandState&)
{
    return false;
}

bool CPage::ExecuteCommand(int)
{
    return false;
}

void CPage::SayCharactersLeftOut()
{
    if (m_host)
        m_host->SetStatusPrompt(
            QStringLiteral("Characters that the configuration file cannot hold were left out."));
}

bool CPage::IsEditCommand(int id)
{
    return id == cmd::kEditUndo || id == cmd::kEditCut || id == cmd::kEditCopy || id == cmd::kEditPaste;
}

bool CPage::SendEditCommand(int id)
{
    if (!IsEditCommand(id))
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        switch (id) {
        case cmd::kEditUndo:
            line->undo();
            break;
        case cmd::kEditCut:
            line->cut();
            break;
        case cmd::kEditCopy:
            line->copy();
            break;
        case cmd::kEditPaste:
            line->paste();
            break;
        }
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
        switch (id) {
        case cmd::kEditUndo:
            text->undo();
            break;
        case cmd::kEditCut:
            text->cut();
            break;
        case cmd::kEditCopy:
            text->copy();
            break;
        case cmd::kEditPaste:
            text->paste();
            break;
        }
    }
    return true;
}

std::optional<QString> CPage::ChooseFileIn(platform::FileDialogRequest request, const QString& configFolder)
{
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.hideReadOnly = true;
    request.mustExist = false;
    request.owner = this;
    request.initialFolder = configFolder;
    return platform::FileDialogs().Run(request);
}

std::optional<MediumFile> CPage::ChooseMediumFile(platform::FileDialogRequest request,
                                                  const QString& configFolder)
{
    const auto chosen = ChooseFileIn(std::move(request), configFolder);
    return chosen ? MediumFileOf(*chosen, configFolder) : std::nullopt;
}

std::optional<MediumFile> CPage::MediumFileOf(const QString& chosen, const QString& configFolder)
{
    // A configuration never saved lives, for now, where its first file was found.
    const QString folder = configFolder.isEmpty() ? platform::FolderOf(chosen) : configFolder;
    const auto relative = PathBelow(folder, chosen);
    if (!relative) {
        platform::ShowMessage(
            QStringLiteral("Error:\nThe chosen file lies outside the folder of the configuration, "
                           "%1.\nThe launcher finds its files on the medium that holds the "
                           "configuration: choose a file in that folder or below it.")
                .arg(QDir::cleanPath(folder)));
        return std::nullopt;
    }
    const DosPath dos = DosPathOf(QFile::encodeName(*relative).toStdString());
    const QString part = QFile::decodeName(QByteArray::fromStdString(dos.badPart));
    switch (dos.fault) {
    case DosNameFault::None:
        return MediumFile{chosen, QString::fromStdString(dos.path), folder};
    case DosNameFault::Form:
        platform::ShowMessage(QStringLiteral("Error:\nDOS cannot read the name \"%1\": a DOS name has 1 to 8 "
                                             "characters, then may have a dot and 1 to 3 more.")
                                  .arg(part));
        break;
    case DosNameFault::Blank:
        platform::ShowMessage(
            QStringLiteral("Error:\nDOS cannot read the name \"%1\": it holds a blank.").arg(part));
        break;
    case DosNameFault::Character:
        platform::ShowMessage(
            QStringLiteral("Error:\nDOS cannot read the name \"%1\": it holds a character DOS "
                           "refuses (accented letters and \" * + , / : ; < = > ? [ \\ ] |).")
                .arg(part));
        break;
    }
    return std::nullopt;
}

} // namespace vl
