// The company logo: the PCX header check, and the General page's "..." button that chooses a logo.
#include "model/LogoCheck.h"
#include "app/AppFixture.h"
#include "pages/Page.h"

#include <QLineEdit>
#include <QPushButton>

namespace
{

// A PCX header: manufacturer 10, RLE, 8 bits, Xmin = Ymin = 0, and the given version and extents.
QByteArray Header(int size, int version, quint16 xmax, quint16 ymax)
{
    const char start[] = {10,         char(version),  1, 8, 0, 0, 0, 0, char(xmax), char(xmax >> 8),
                          char(ymax), char(ymax >> 8)};
    return (QByteArray(start, sizeof start) + QByteArray(200, '\0')).left(size);
}

using Logo = vltest::AppTest;

// Judged by the first 128 bytes alone, read from a file; Xmax and Ymax are signed.
TEST_F(Logo, HeaderVersionAndExtents)
{
    const char* const notPcx2 = "The specified file is not a valid PCX Version 2 image.";
    const char* const tooLarge = "Image cannot be larger than 120x120 pixels..!!";
    // clang-format off
    const std::pair<QByteArray, const char*> cases[] = {
        {Header(128, 2, 120, 120), ""},              {Header(127, 2, 0, 0), notPcx2},
        {Header(128, 3, 0, 0), notPcx2},    {Header(128, 5, 0, 0), notPcx2},
        {Header(128, 2, 121, 0), tooLarge}, {Header(128, 2, 0, 121), tooLarge},
        {Header(128, 2, 0xFFFF, 0x8000), ""},        {Header(128, 2, 64, 64) + QByteArray(4000, '\xC1'), ""},
    };
    // clang-format on
    for (const auto& [bytes, expected] : cases) {
        std::string message = "left over";
        EXPECT_EQ(vl::CheckLogoFile(vl::LocalPath(WriteFile(QStringLiteral("logo.pcx"), bytes)), message),
                  !*expected);
        EXPECT_EQ(message, expected) << bytes.left(12).toHex(' ').toStdString();
    }
    std::string message;
    EXPECT_FALSE(vl::CheckLogoFile(vl::LocalPath(TempPath()), message)); // only a regular file is read
    EXPECT_EQ(message, "Unable to open the specified file..!!");
}

// A click on "..." offers the files; an accepted logo fills the field and reaches the saved file,
// a refused one or a path the file cannot carry changes nothing.
TEST_F(Logo, ChosenWithTheBrowseButton)
{
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), vltest::SmallConfig())}));
    const QString good = WriteFile(QStringLiteral("good.pcx"), Header(128, 2, 100, 80));
    const std::pair<QString, QString> steps[] = {
        // the dialog's answer, the message (empty: accepted)
        {WriteFile(QStringLiteral("v5.pcx"), Header(128, 5, 0, 0)),
         QStringLiteral("The specified file is not a valid PCX Version 2 image.")},
        {TempPath() + QStringLiteral("/none.pcx"), QStringLiteral("Unable to open the specified file..!!")},
        {TempPath() + QStringLiteral("/\u0100/good.pcx"), vltest::kNotStorable},
        {good, QString()},
    };
    auto* field = Control<QLineEdit>("logoPathEdit");
    for (const auto& [chosen, message] : steps) {
        AnswerDialog(chosen);
        vltest::Click(Control<QPushButton>("browseButton"));
        EXPECT_EQ(TakeDialogs().size(), 1);
        EXPECT_EQ(TakeMessages(),
                  message.isEmpty() ? QStringList() : QStringList{QStringLiteral("Error:\n") + message});
        EXPECT_EQ(field->text(), message.isEmpty() ? good : QStringLiteral("C:\\LOGO.PCX"));
        EXPECT_EQ(Doc()->IsModified(), message.isEmpty());
    }
    vltest::Press(QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(TakeMessages(), QStringList{vltest::kSavedInfo});
    EXPECT_TRUE(ReadFile(Path("A.ini")).contains("\r\nPATH=" + QFile::encodeName(good) + "\r\n"));
}

} // namespace
