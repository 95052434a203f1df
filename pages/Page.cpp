// What every page of the main window offers.
#include "Page.h"

#include "document/CommandIds.h"
#include "platform/CodePage.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vl
{

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

std::optional<QString> CPage::ChooseFile(platform::FileDialogRequest request, const QString& rememberedFolder)
{
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.hideReadOnly = true;
    request.mustExist = false;
    request.owner = this;
    request.initialFolder = rememberedFolder.isEmpty() ? platform::StartFolder() : rememberedFolder;
    const auto chosen = platform::FileDialogs().Run(request);
    if (chosen && !platform::ToCp1252(*chosen)) {
        // The path would be lost at the next commit.
        platform::ShowMessage(QStringLiteral("Error:\n") + QString::fromLatin1(kPathNotStorable));
        return std::nullopt;
    }
    return chosen;
}

} // namespace vl
