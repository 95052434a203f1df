// The real message box, as shown.
#include "platform/MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

// A box with a short text is still wide enough for a title bar to show "Salvage Deck" whole in a
// bold font beside its window menu and three buttons.
TEST(MessageBox, CaptionIsNeverCut)
{
    int width = 0;
    QTimer::singleShot(0, [&width] {
        QWidget* box = QApplication::activeModalWidget();
        width = box->width();
        box->close();
    });
    platform::QtMessageService().Show(QStringLiteral("File not yet saved."), platform::MsgButtons::Ok,
                                      platform::MsgIcon::Default);
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Salvage Deck")) + 100);
}
