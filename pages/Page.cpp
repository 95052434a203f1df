// What every page of the main window offers.
#include "Page.h"

#include "document/CommandIds.h"
#include "platform/CodePage.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

namespace vl
{

namespace
{

// Grows a rectangle by factor so that neighbours that touched before still touch.
QRect Scaled(const QRect& rect, double factor)
{
    const QPoint topLeft(qRound(rect.left() * factor), qRound(rect.top() * factor));
    const QPoint end(qRound((rect.right() + 1) * factor), qRound((rect.bottom() + 1) * factor));
    return QRect(topLeft, end - QPoint(1, 1));
}

} // namespace

double FontScale(const QFont& font)
{
    // The default desktop font: 9-point sans serif at 96 dots per inch. Like a dialog unit, the
    // width follows the mean advance of the 52 letters and the height the font's height; one factor,
    // the larger of the two, keeps the layouts' proportions.
    QFont reference(QStringLiteral("Sans Serif"));
    reference.setPixelSize(12);
    const QFontMetrics wanted(font);
    const QFontMetrics drawn(reference);
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const double wide = double(wanted.horizontalAdvance(letters)) / drawn.horizontalAdvance(letters);
    const double tall = double(wanted.height()) / drawn.height();
    return std::max({1.0, wide, tall});
}

QSize ScaledSize(QSize size, double factor)
{
    return Scaled(QRect(QPoint(), size), factor).size();
}

void ScaleForm(QWidget* form, double factor)
{
    if (factor == 1.0)
        return;
    if (!form->layout()) {
        for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow())
                child->setGeometry(Scaled(child->geometry(), factor));
        }
    }
    form->resize(ScaledSize(form->size(), factor));
}

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
