// Message boxes: the real service over QMessageBox and the scriptable one.
#include "MessageService.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMessageBox>
#include <QStyle>

namespace platform
{

namespace
{

// Qt sizes a box for its text and buttons; a window manager draws the caption in a bold font beside
// its window menu and buttons, and cut "Salvage Deck" short on a box with a short text.
class CaptionedMessageBox : public QMessageBox
{
  public:
    using QMessageBox::QMessageBox;

  protected:
    bool event(QEvent* event) override
    {
        const bool result = QMessageBox::event(event);
        // Qt fixes the size again on showing and on every layout request.
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
            QFont bold = font();
            bold.setBold(true);
            // The window menu, three buttons and the caption's margins, each about a title bar high.
            const int room = 5 * style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
            const int wanted = QFontMetrics(bold).horizontalAdvance(windowTitle()) + room;
            if (width() < wanted)
                setFixedWidth(wanted);
        }
        return result;
    }
};

} // namespace

QString ApplicationTitle()
{
    return QStringLiteral("Salvage Deck");
}

MsgAnswer QtMessageService::Show(const QString& text, MsgButtons buttons, MsgIcon icon)
{
    CaptionedMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ApplicationTitle());
    box.setText(text);
    switch (icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Default:
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
}

MsgAnswer ScriptedMessageService::Show(const QString& text, MsgButtons buttons, MsgIcon icon)
{
    m_shown.append({text, buttons, icon});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    m_unexpected.append(text);
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
}

QStringList ScriptedMessageService::TakeTexts()
{
    QStringList texts;
    for (const Shown& s : m_shown)
        texts.append(s.text);
    m_shown.clear();
    return texts;
}

namespace
{
MessageService* g_messages = nullptr;
} // namespace

MessageService& Messages()
{
    static QtMessageService real;
    return g_messages ? *g_messages : real;
}

void SetMessageService(MessageService* service)
{
    g_messages = service;
}

} // namespace platform
