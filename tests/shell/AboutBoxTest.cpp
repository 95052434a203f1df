// The About box: its caption, texts and picture, and the ways it closes.
#include "../support/GuiTest.h"

#include "shell/CAboutBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using vl::CAboutBox;

TEST(AboutBox, ShowsNameVersionAndPicture)
{
    CAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Salvage Deck"));
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.minimumSize(), box.maximumSize());

    QStringList texts;
    QList<QPixmap> pictures;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            pictures << label->pixmap();
        else
            texts << label->text();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Salvage Deck  Version 1.0")))
        << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(texts.size(), 3) << "the version line and two lines of notice";
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0].size(), QSize(80, 40));

    auto* ok = box.findChild<QPushButton*>(QStringLiteral("okButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
}

namespace
{

struct CloseCase {
    const char* name;
    Qt::Key key; // Qt::Key_unknown: a click on OK
    int result;
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class AboutBoxCloses : public ::testing::TestWithParam<CloseCase>
{
};

} // namespace

TEST_P(AboutBoxCloses, WhileRunningModally)
{
    const CloseCase& c = GetParam();
    CAboutBox box;
    bool pressed = false;
    QTimer::singleShot(0, &box, [&] {
        pressed = true;
        if (c.key == Qt::Key_unknown)
            QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
        else
            QTest::keyClick(&box, c.key);
        // Should the key not close it, end the loop so that the test fails instead of hanging.
        if (box.isVisible())
            box.done(-1);
    });
    const int result = box.exec();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(result, c.result);
    EXPECT_FALSE(box.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutBoxCloses,
                         ::testing::Values(CloseCase{"OkButton", Qt::Key_unknown, QDialog::Accepted},
                                           CloseCase{"Enter", Qt::Key_Return, QDialog::Accepted},
                                           CloseCase{"Escape", Qt::Key_Escape, QDialog::Rejected}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) {
                             return std::string(info.param.name);
                         });
