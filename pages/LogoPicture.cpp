// Pictures made into the launcher's logo.
#include "LogoPicture.h"

#include "document/CVLConfigDoc.h"
#include "model/AtomicFile.h"
#include "model/Pcx.h"
#include "platform/Paths.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <cstring>

namespace vl
{

namespace
{

QSize LogoSizeOf(QSize size)
{
    const auto [w, h] = pcx::LogoSize(size.width(), size.height());
    return {w, h};
}

// Fits the picture into the logo's box; smooth scaling averages the pixels that each logo pixel
// covers, so thin lines of a large picture fade instead of vanishing.
QImage Fitted(QImage image)
{
    const bool transparent = image.hasAlphaChannel();
    image = image.convertToFormat(transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const QSize size = LogoSizeOf(image.size());
    if (size != image.size())
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (transparent) {
        QImage onWhite(image.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, image);
        image = onWhite;
    }
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

std::optional<LogoPicture> ReadLogoPicture(const std::string& bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    // Qt reads no PCX at all, so every version goes to the project's own reader.
    if (const auto header = pcx::ReadHeader(data, bytes.size())) {
        const auto decoded = pcx::Decode(data, bytes.size());
        if (!decoded)
            return std::nullopt;
        const QImage image(decoded->rgb.data(), decoded->width, decoded->height, decoded->width * 3,
                           QImage::Format_RGB888);
        return LogoPicture{QStringLiteral("PCX version %1").arg(header->version), image.size(),
                           Fitted(image)};
    }

    QByteArray content = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Asked before reading: afterwards the reader can no longer tell.
    QString kind = QString::fromLatin1(reader.format()).toUpper();
    if (kind.startsWith(QLatin1String("SVG")))
        kind = QStringLiteral("SVG");
    const QSize drawn = reader.size();
    // A drawing is rendered at the logo's size rather than drawn large and shrunk.
    if (drawn.isValid() && kind == QLatin1String("SVG"))
        reader.setScaledSize(LogoSizeOf(drawn));
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return LogoPicture{kind, drawn.isValid() ? drawn : image.size(), Fitted(image)};
}

std::string LogoFileBytes(const QImage& logo)
{
    pcx::Image picture;
    picture.width = logo.width();
    picture.height = logo.height();
    picture.rgb.resize(static_cast<std::size_t>(logo.width()) * static_cast<std::size_t>(logo.height()) * 3);
    const auto row = static_cast<std::size_t>(logo.width()) * 3;
    for (int y = 0; y < logo.height(); ++y)
        std::memcpy(picture.rgb.data() + static_cast<std::size_t>(y) * row, logo.constScanLine(y), row);
    return pcx::EncodeVersion2(pcx::ReduceColours(picture));
}

bool FolderHolds(const QString& folder, const QString& name)
{
    // Name filters of QDir ignore letter case unless told otherwise, as DOS does.
    return !QDir(folder).entryList({name}, QDir::AllEntries | QDir::Hidden | QDir::System).isEmpty();
}

QString LogoFileName(const QString& folder, const QString& picturePath)
{
    const std::string dosName = pcx::DosLogoName(LocalPath(platform::FileNameOf(picturePath)));
    const QString name = QString::fromStdString(dosName);
    const QStringList held = QDir(folder).entryList({name}, QDir::AllEntries | QDir::Hidden | QDir::System);
    if (held.isEmpty())
        return name;
    if (!IsSameFile(LocalPath(folder + held.front()), LocalPath(picturePath)))
        return held.front();
    for (int number = 1;; ++number) {
        const QString numbered = QString::fromStdString(pcx::NumberedDosName(dosName, number));
        if (!FolderHolds(folder, numbered))
            return numbered;
    }
}

} // namespace vl
