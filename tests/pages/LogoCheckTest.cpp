// The company logo: the PCX header check, the file check, and the "..." browse command of the General page.
#include "pages/LogoCheck.h"
#include "app/AppFixture.h"
#include "pages/Page.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cerrno>
#include <cstring>

namespace
{

const std::string kNotPcx2 = "The specified file is not a valid PCX Version 2 image.";
const std::string kTooLarge = "Image cannot be larger than 120x120 pixels..!!";
const std::string kCannotOpen = "Unable to open the specified file..!!";

// A PCX header: manufacturer 10, RLE, 8 bits, Xmin = Ymin = 0, and the given version and extents.
QByteArray Header(int size, int version, quint16 xmax, quint16 ymax, int manufacturer = 10)
{
    const char start[] = {char(manufacturer), char(version),  1, 8, 0, 0, 0, 0, char(xmax), char(xmax >> 8),
                          char(ymax),         char(ymax >> 8)};
    return (QByteArray(start, sizeof start) + QByteArray(200, '\0')).left(size);
}

using LogoFile = vltest::DocTest;
using LogoBrowse = vltest::AppTest;

TEST_F(LogoFile, headerAndFileAreJudgedByTheFirst128Bytes)
{
    // The bytes, mostly Header(size, version, Xmax, Ymax), and the message (empty: accepted).
    const std::pair<QByteArray, std::string> cases[] = {
        {Header(128, 2, 0, 0), ""},
        {Header(127, 2, 0, 0), kNotPcx2},
        {QByteArray(), kNotPcx2},
        {Header(2, 2, 0, 0), kNotPcx2},
        {Header(128, 0, 0, 0), kNotPcx2},
        {Header(128, 1, 0, 0), kNotPcx2},
        {Header(128, 3, 0, 0), kNotPcx2},
        {Header(128, 4, 0, 0), kNotPcx2},
        {Header(128, 5, 0, 0), kNotPcx2},
        {Header(128, 5, 500, 500), kNotPcx2},
        {Header(128, 2, 120, 120), ""},
        {Header(128, 2, 121, 0), kTooLarge},
        {Header(128, 2, 0, 121), kTooLarge},
        // Xmax and Ymax are signed: FF FF is -1.
        {Header(128, 2, 0xFFFF, 0), ""},
        {Header(128, 2, 0, 0xFFFF), ""},
        {Header(128, 2, 0x8000, 0x8000), ""},
        {Header(128, 2, 0x7FFF, 0), kTooLarge},
        {Header(128, 2, 0, 0x0100), kTooLarge},
        // Neither the manufacturer's byte nor what follows the header counts.
        {Header(128, 2, 10, 10, 0), ""},
        {Header(128, 2, 10, 10, 255), ""},
        {Header(128, 2, 64, 64) + QByteArray(4000, '\xC1'), ""},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes.left(12).toHex(' ').toStdString() + " of " + std::to_string(bytes.size()));
        std::string message = "left over";
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
        EXPECT_EQ(vl::CheckLogoHeader(data, bytes.size(), message), expected.empty());
        EXPECT_EQ(message, expected);
        message = "left over";
        const QString path = WriteFile(QStringLiteral("logo.pcx"), bytes);
        EXPECT_EQ(vl::CheckLogoFile(vl::LocalPath(path), message), expected.empty());
        EXPECT_EQ(message, expected);
    }
    std::string message;
    EXPECT_FALSE(vl::CheckLogoFile(vl::LocalPath(TempPath()), message)); // only a regular file is read
    EXPECT_EQ(message, vl::kLogoCannotOpen);
}

// Changes the current directory while it is open, as the system's own dialog may, then answers from
// the fixture's script.
struct WanderingDialogs : platform::FileDialogService {
    explicit WanderingDialogs(platform::FileDialogService& script) : m_script(script) {}
    std::optional<QString> Run(const platform::FileDialogRequest& request) override
    {
        platform::SetCurrentDirectory(QDir::rootPath());
        return m_script.Run(request);
    }
    platform::FileDialogService& m_script;
};

TEST_F(LogoBrowse, acceptedFileFillsTheFieldAndIsRememberedRefusedAndCancelledChangeNothing)
{
    ASSERT_TRUE(Start());
    WanderingDialogs wandering(m_dialogs);
    platform::SetFileDialogService(&wandering);
    const QString d1 = Path("d1/"), d2 = Path("d2/");
    ASSERT_TRUE(QDir().mkpath(d1) && QDir().mkpath(d2));
    const QString good1 = WriteFile(QStringLiteral("d1/good.pcx"), Header(128, 2, 100, 80));
    const QString good2 = WriteFile(QStringLiteral("d2/small.pcx"), Header(128, 2, 1, 1));

    // The dialog's answer (none: cancelled), the folder it opens in, the refusal (empty: none), the
    // logo path field afterwards, the folder remembered afterwards.
    const std::tuple<std::optional<QString>, QString, std::string, QString, QString> steps[] = {
        {std::nullopt, m_program, "", {}, {}},
        {WriteFile(QStringLiteral("d2/v5.pcx"), Header(128, 5, 0, 0)), m_program, kNotPcx2, {}, {}},
        {good1, m_program, "", good1, d1},
        {d2 + QStringLiteral("none.pcx"), d1, kCannotOpen, good1, d1},
        {good2, d1, "", good2, d2},
        // A path the configuration's Windows-1252 text cannot hold would be lost at the next commit.
        {TempPath() + QStringLiteral("/\u0100/good.pcx"), d2, vl::kPathNotStorable, good2, d2},
        {std::nullopt, d2, "", good2, d2},
    };
    int n = 0;
    for (const auto& [chosen, startFolder, refusal, field, remembered] : steps) {
        SCOPED_TRACE(++n);
        platform::SetCurrentDirectory(m_program);
        const bool wasModified = Doc()->IsModified();
        AnswerDialog(chosen);
        Control<QPushButton>("browseButton")->click();

        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(requests.front().kind, platform::FileDialogRequest::Kind::Open);
        EXPECT_EQ(requests.front().initialFolder, startFolder);
        const QString message = QStringLiteral("Error:\n") + QString::fromStdString(refusal);
        EXPECT_EQ(TakeMessages(), refusal.empty() ? QStringList() : QStringList{message});
        EXPECT_EQ(Control<QLineEdit>("logoPathEdit")->text(), field);
        EXPECT_EQ(Doc()->LogoBrowseDir(), remembered);
        EXPECT_EQ(Doc()->IsModified(), wasModified || (chosen && refusal.empty()));
        EXPECT_EQ(QDir(platform::CurrentDirectory()).canonicalPath(), QDir(m_program).canonicalPath());
    }
    platform::SetFileDialogService(&m_dialogs);

    // The chosen path reaches the configuration at the next commit; one typed by hand is not checked.
    ASSERT_TRUE(Frame()->ValidateCurrentPage());
    EXPECT_EQ(vltest::GeneralOf(Doc()->m_pRing)->path, std::optional<std::string>(vl::LocalPath(good2)));
    Control<QLineEdit>("logoPathEdit")->clear();
    QTest::keyClicks(Control<QLineEdit>("logoPathEdit"), QStringLiteral("C:\\NOWHERE\\LOGO.PCX"));
    ASSERT_TRUE(Frame()->ValidateCurrentPage());
    EXPECT_EQ(vltest::GeneralOf(Doc()->m_pRing)->path, std::optional<std::string>("C:\\NOWHERE\\LOGO.PCX"));

    // Another configuration keeps the remembered folder.
    Doc()->SetModifiedFlag(false);
    m_app->OnFileNew();
    EXPECT_EQ(Doc()->LogoBrowseDir(), d2);
}

} // namespace
