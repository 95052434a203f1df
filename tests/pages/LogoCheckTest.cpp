// The company logo: the PCX header check, and logos made from pictures chosen with the General page's "...".
#include "model/LogoCheck.h"
#include "app/AppFixture.h"
#include "model/Pcx.h"
#include "pages/Page.h"

#include <QBuffer>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>

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
        {Header(128, 2, 120, 120), ""}, {Header(127, 2, 0, 0), notPcx2}, {Header(128, 3, 0, 0), notPcx2},
        {Header(128, 5, 0, 0), notPcx2}, {Header(128, 2, 121, 0), tooLarge}, {Header(128, 2, 0, 121), tooLarge},
        {Header(128, 2, 0xFFFF, 0x8000), ""}, {Header(128, 2, 64, 64) + QByteArray(4000, '\xC1'), ""}};
    // clang-format on
    for (const auto& [bytes, expected] : cases) {
        std::string message = "left over";
        EXPECT_EQ(vl::CheckLogoFile(vl::LocalPath(WriteFile(QStringLiteral("logo.pcx"), bytes)), message),
                  !*expected);
        EXPECT_EQ(message, expected) << bytes.left(12).toHex(' ').toStdString();
    }
}

// Colours changing smoothly across and down: thousands of them, as in a photograph.
QImage Gradient(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor::fromHsv(x * 300 / width, 180, 80 + 175 * y / height));
    return image;
}

QByteArray Saved(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

// A PCX version 5 as paint programs write it today: 8 bits, one plane, 256 colours after the pixels.
QByteArray Pcx5(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_Indexed8);
    QByteArray bytes = Header(128, 5, quint16(image.width() - 1), quint16(image.height() - 1));
    bytes[65] = 1;
    bytes[66] = char(image.width()); // even and below 256 here
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            bytes += (image.pixelIndex(x, y) >= 0xC0 ? QByteArray("\xC1") : QByteArray()) +
                     char(image.pixelIndex(x, y));
    bytes += '\x0C';
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < image.colorCount() ? image.color(i) : 0;
        bytes += QByteArray(1, char(qRed(c))) + char(qGreen(c)) + char(qBlue(c));
    }
    return bytes;
}

// The picture as the launcher should show it: smoothly fitted, laid on white, each pixel averaged
// with its neighbours so that dithering grain counts as the colour it stands for.
QImage Blurred(QImage image, QSize size)
{
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage onWhite(size, QImage::Format_RGB32);
    onWhite.fill(Qt::white);
    QPainter(&onWhite).drawImage(0, 0, image);
    return onWhite.scaled(size / 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The mean difference of the colour channels, 0 to 255.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int i = 0; i < a.width() * a.height(); ++i) {
        const QRgb p = a.pixel(i % a.width(), i / a.width()), q = b.pixel(i % a.width(), i / a.width());
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / (3.0 * a.width() * a.height());
}

// Every kind of picture given to "..." becomes, after one question answered Yes, a logo beside the
// configuration that the check takes, that looks like the picture fitted into 120 by 120, and that
// the field names; the picture itself stays as it was. (A version 2 logo that fits, taken as it is,
// and a file that is no picture are in the browse table.)
TEST_F(Logo, PicturesMadeIntoLogos)
{
    QDir(TempPath()).mkdir(QStringLiteral("pics"));
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), vltest::SmallConfig())}));
    Frame()->show();
    QImage clear(200, 100, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QPainter(&clear).fillRect(50, 0, 100, 100, QColor(20, 40, 200));
    QImage noise(121, 121, QImage::Format_RGB32);
    for (int i = 0; i < 121 * 121; ++i)
        noise.setPixel(i % 121, i / 121, QRandomGenerator(7 + i).generate() | 0xFF000000);
    const QImage grey = Gradient(150, 100, QImage::Format_Grayscale8), old = Gradient(130, 20);
    const QByteArray svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='100'><rect width='400' "
        "height='100' fill='#fc0'/><circle cx='200' cy='50' r='40' fill='navy'/></svg>";
    const struct {
        const char* file;
        QByteArray bytes;
        QImage drawn;      // for the PCX, which Qt cannot read
        const char* found; // what the question says the picture is
        QSize logo;
        const char* made;
    } pictures[] = {
        {"small.png", Saved(Gradient(40, 30), "PNG"), {}, "small.png (PNG, 40 by 30", {40, 30}, "SMALL.PCX"},
        {"exact.jpg", Saved(Gradient(120, 120), "JPEG"), {}, "(JPEG, 120 by 120", {120, 120}, "EXACT.PCX"},
        {"Wide Logo.png", Saved(Gradient(300, 90), "PNG"), {}, "(PNG, 300 by 90", {120, 36}, "WIDELOGO.PCX"},
        {"tall.bmp", Saved(Gradient(60, 240), "BMP"), {}, "(BMP, 60 by 240", {30, 120}, "TALL.PCX"},
        {"clear.png", Saved(clear, "PNG"), {}, "(PNG, 200 by 100", {120, 60}, "CLEAR.PCX"},
        {"grey.jpg", Saved(grey, "JPEG"), {}, "(JPEG, 150 by 100", {120, 80}, "GREY.PCX"},
        {"noise.png", Saved(noise, "PNG"), {}, "(PNG, 121 by 121", {120, 120}, "NOISE.PCX"},
        {"mark.svg", svg, {}, "(SVG, 400 by 100", {120, 30}, "MARK.PCX"},
        {"old.pcx", Pcx5(old), old, "(PCX version 5, 130 by 20", {120, 18}, "OLD.PCX"},
    };
    auto* field = Control<QLineEdit>("logoPathEdit");
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.file);
        const QString path = WriteFile(QStringLiteral("pics/") + QLatin1String(picture.file), picture.bytes);
        AnswerDialog(path);
        Answer(platform::MsgAnswer::Yes);
        vltest::Click(Control<QPushButton>("browseButton"));
        TakeDialogs();
        const QStringList asked = TakeMessages();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_TRUE(asked[0].contains(QLatin1String(picture.found))) << asked[0].toStdString();
        EXPECT_TRUE(
            asked[0].contains(QStringLiteral("Make the logo %1 from it, %2 by %3 pixels in 16 colours")
                                  .arg(QLatin1String(picture.made))
                                  .arg(picture.logo.width())
                                  .arg(picture.logo.height())));
        EXPECT_EQ(field->text(), QLatin1String(picture.made));
        EXPECT_EQ(ReadFile(path), picture.bytes);

        const QString made = TempPath() + QLatin1Char('/') + QLatin1String(picture.made);
        std::string refusal;
        EXPECT_TRUE(vl::CheckLogoFile(vl::LocalPath(made), refusal)) << refusal;
        const QByteArray bytes = ReadFile(made);
        const auto decoded =
            vl::pcx::Decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ASSERT_TRUE(decoded);
        const QImage shown(decoded->rgb.data(), decoded->width, decoded->height, decoded->width * 3,
                           QImage::Format_RGB888);
        ASSERT_EQ(shown.size(), picture.logo);
        EXPECT_LT(
            MeanDifference(Blurred(shown, picture.logo),
                           Blurred(picture.drawn.isNull() ? QImage::fromData(picture.bytes) : picture.drawn,
                                   picture.logo)),
            9); // ImageMagick's own 16 colours with dithering come to about 10 by this measure
    }
    EXPECT_TRUE(Doc()->IsModified());
}

// No to the offer changes nothing; a logo of the same name is replaced only after a second Yes;
// a picture that has the logo's own name is never written over, a numbered name is taken instead.
TEST_F(Logo, OfferDeclinedOrTheNameTaken)
{
    ASSERT_TRUE(Start({WriteFile(QStringLiteral("A.ini"), vltest::SmallConfig())}));
    const QString picture = WriteFile(QStringLiteral("company.png"), Saved(Gradient(10, 10), "PNG"));
    WriteFile(QStringLiteral("COMPANY.PCX"), "kept");
    const QString ownName = WriteFile(QStringLiteral("logo.pcx"), Pcx5(Gradient(16, 16)));
    const QString replace =
        QStringLiteral("COMPANY.PCX already exists in %1.\nDo you want to replace it with the "
                       "logo made from company.png?")
            .arg(TempPath());
    constexpr auto Yes = platform::MsgAnswer::Yes, No = platform::MsgAnswer::No;
    const struct {
        QString chosen;
        QList<platform::MsgAnswer> answers;
        const char* field;
        QByteArray company; // the first bytes of COMPANY.PCX afterwards
    } steps[] = {
        {picture, {No}, "C:\\LOGO.PCX", "ke"},
        {picture, {Yes, No}, "C:\\LOGO.PCX", "ke"},
        {ownName, {Yes}, "LOGO1.PCX", "ke"},
        {picture, {Yes, Yes}, "COMPANY.PCX", "\x0A\x02"},
    };
    for (const auto& step : steps) {
        AnswerDialog(step.chosen);
        for (const auto answer : step.answers)
            Answer(answer);
        vltest::Click(Control<QPushButton>("browseButton"));
        TakeDialogs();
        const QStringList asked = TakeMessages();
        EXPECT_EQ(asked.size(), step.answers.size());
        EXPECT_EQ(asked.value(1), step.answers.size() > 1 ? replace : QString()); // the second: replace?
        EXPECT_EQ(Control<QLineEdit>("logoPathEdit")->text(), QLatin1String(step.field));
        EXPECT_EQ(ReadFile(Path("COMPANY.PCX")).left(2), step.company);
    }
    EXPECT_EQ(ReadFile(ownName), Pcx5(Gradient(16, 16)));
    EXPECT_TRUE(QFile::exists(Path("LOGO1.PCX")));
}

} // namespace
