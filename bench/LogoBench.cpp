// Making the launcher's logo of a 4000 by 3000 photograph, against loading and scaling it with QImage
// alone, in turn in one run.
#include "document/CVLConfigDoc.h"
#include "model/AtomicFile.h"
#include "pages/CVLGenView.h"
#include "pages/LogoPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

constexpr int kWarmups = 1;
constexpr int kRuns = 7;

[[noreturn]] void Die(const char* what)
{
    std::fprintf(stderr, "vl_logo_bench: %s\n", what);
    std::exit(1);
}

// Smooth shapes of light and colour with sensor grain, so that the JPEG holds as much as a photograph.
QImage Photograph()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator grain(1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double u = x / 4000.0, v = y / 3000.0;
            const int noise = int(grain.bounded(24)) - 12;
            line[x] = qRgb(std::clamp(int(128 + 100 * std::sin(6 * u + 2 * v)) + noise, 0, 255),
                           std::clamp(int(128 + 90 * std::cos(5 * v - 3 * u * v)) + noise, 0, 255),
                           std::clamp(int(100 + 80 * std::sin(9 * u * v + 1)) + noise, 0, 255));
        }
    }
    return image;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    QTemporaryDir folder;
    const QString photo = folder.filePath(QStringLiteral("photo.jpg"));
    if (!folder.isValid() || !Photograph().save(photo, "JPEG", 90))
        Die("cannot write the photograph");
    const std::string logo = vl::LocalPath(folder.filePath(QStringLiteral("PHOTO.PCX")));

    std::vector<double> made, scaled;
    for (int i = 0; i < kWarmups + kRuns; ++i) {
        // In turn, so that whatever else the machine does falls on both alike.
        auto start = std::chrono::steady_clock::now();
        std::string bytes;
        if (vl::ReadRegularFile(vl::LocalPath(photo), bytes, vl::kMaxPictureBytes) != vl::ReadOutcome::Read)
            Die("cannot read the photograph");
        const auto picture = vl::ReadLogoPicture(bytes);
        if (!picture || !vl::WriteFileAtomically(logo, vl::LogoFileBytes(picture->logo)))
            Die("no logo made");
        const double madeMs = Milliseconds(start);

        start = std::chrono::steady_clock::now();
        const QImage plain = QImage(photo).scaled(120, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const double scaledMs = Milliseconds(start);
        if (plain.size() != picture->logo.size())
            Die("the two ways fit the photograph to different sizes");
        if (i >= kWarmups) {
            made.push_back(madeMs);
            scaled.push_back(scaledMs);
        }
    }
    std::printf(
        "A logo of a 4000 by 3000 JPEG photograph, against QImage loading and scaling it, %d runs each:\n",
        kRuns);
    std::printf("logo made        median %7.2f ms (min %7.2f)\n", Median(made),
                *std::min_element(made.begin(), made.end()));
    std::printf("QImage scaled    median %7.2f ms (min %7.2f)\n", Median(scaled),
                *std::min_element(scaled.begin(), scaled.end()));
    const double ratio = Median(made) / Median(scaled);
    std::printf("ratio logo/QImage scale = %.2f (goal <= 1.5) %s   [%.2f ms vs %.2f ms]\n", ratio,
                ratio <= 1.5 ? "met" : "NOT MET", Median(made), Median(scaled));
    return 0;
}
