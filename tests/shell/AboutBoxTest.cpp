// The About box: its caption, texts and picture, and the ways it closes.
#include "../support/GuiTest.h"

#include "shell/CAboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using vl::CAboutBox;

TEST(AboutBox, ShowsNameVersionAndPictureAndClosesWithOkEnterOrEscape)
{
    CAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Salvage Deck"));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());

    QStringList texts;
    QList<QPixmap> pictures;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            pictures << label->pixmap();
        else
            texts << label->text();
    }
    EXPECT_EQ(texts.join(QLatin1Char('|')).toStdString(),
              "Salvage Deck  Version 1.0|Boot menu editor for VLLaunch|(C) 2026 the VLConfig developers");
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0].size(), QSize(80, 40));

    auto* ok = box.findChild<QPushButton*>(QStringLiteral("okButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());

    // The ways it closes while running modally; Qt::Key_unknown stands for a click on OK.
    const std::pair<Qt::Key, int> ways[] = {{Qt::Key_unknown, QDialog::Accepted},
                                            {Qt::Key_Return, QDialog::Accepted},
                                            {Qt::Key_Escape, QDialog::Rejected}};
    for (const auto& [key, expected] : ways) {
        SCOPED_TRACE(key);
        CAboutBox modal;
        bool pressed = false;
        QTimer::singleShot(0, &modal, [&, key = key] {
            pressed = true;
            if (key == Qt::Key_unknown)
                QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
            else
                QTest::keyClick(&modal, key);
            // Should the key not close it, end the loop so that the test fails instead of hanging.
            if (modal.isVisible())
                modal.done(-1);
        });
        EXPECT_EQ(modal.exec(), expected);
        EXPECT_TRUE(pressed);
        EXPECT_FALSE(modal.isVisible());
    }
}
