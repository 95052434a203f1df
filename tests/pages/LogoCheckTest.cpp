// The company logo: the PCX header check, the file check, and the "..." browse command of the General page.
#include "pages/LogoCheck.h"
#include "pages/Page.h"
#include "app/AppFixture.h"

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
    QByteArray bytes(std::max(size, 12), '\0');
    bytes[0] = static_cast<char>(manufacturer);
    bytes[1] = static_cast<char>(version);
    bytes[2] = 1;
    bytes[3] = 8;
    bytes[8] = static_cast<char>(xmax & 0xFF);
    bytes[9] = static_cast<char>(xmax >> 8);
    bytes[10] = static_cast<char>(ymax & 0xFF);
    bytes[11] = static_cast<char>(ymax >> 8);
    bytes.resize(size);
    return bytes;
}

struct HeaderCase {
    const char* what;
    QByteArray bytes;
    std::string message; // empty: accepted
};

std::vector<HeaderCase> HeaderCases()
{
    return {
        {"128 bytes, version 2, 0x0", Header(128, 2, 0, 0), ""},
        {"127 bytes", Header(127, 2, 0, 0), kNotPcx2},
        {"empty", QByteArray(), kNotPcx2},
        {"two bytes", Header(2, 2, 0, 0), kNotPcx2},
        {"version 0", Header(128, 0, 0, 0), kNotPcx2},
        {"version 1", Header(128, 1, 0, 0), kNotPcx2},
        {"version 3", Header(128, 3, 0, 0), kNotPcx2},
        {"version 4", Header(128, 4, 0, 0), kNotPcx2},
        {"version 5", Header(128, 5, 0, 0), kNotPcx2},
        {"version 5 and too large", Header(128, 5, 500, 500), kNotPcx2},
        {"120x120", Header(128, 2, 120, 120), ""},
        {"Xmax 121", Header(128, 2, 121, 0), kTooLarge},
        {"Ymax 121", Header(128, 2, 0, 121), kTooLarge},
        {"Xmax -1 (FF FF)", Header(128, 2, 0xFFFF, 0), ""},
        {"Ymax -1 (FF FF)", Header(128, 2, 0, 0xFFFF), ""},
        {"Xmax 32767", Header(128, 2, 0x7FFF, 0), kTooLarge},
        {"Xmax -32768", Header(128, 2, 0x8000, 0x8000), ""},
        {"Ymax 256 (00 01)", Header(128, 2, 0, 0x0100), kTooLarge},
        {"manufacturer 0", Header(128, 2, 10, 10, 0), ""},
        {"manufacturer 255", Header(128, 2, 10, 10, 255), ""},
        {"pixel data after the header", Header(128, 2, 64, 64) + QByteArray(4000, '\xC1'), ""},
    };
}

TEST(LogoCheck, headerIsJudgedByItsSizeVersionAndExtents)
{
    for (const HeaderCase& c : HeaderCases()) {
        SCOPED_TRACE(c.what);
        std::string message = "left over";
        const bool accepted = vl::CheckLogoHeader(reinterpret_cast<const unsigned char*>(c.bytes.constData()),
                                                  c.bytes.size(), message);
        EXPECT_EQ(accepted, c.message.empty());
        EXPECT_EQ(message, c.message);
    }
}

class LogoFile : public vltest::GuiTest
{
};

TEST_F(LogoFile, fileIsJudgedByItsFirst128Bytes)
{
    for (const HeaderCase& c : HeaderCases()) {
        SCOPED_TRACE(c.what);
        const QString path = WriteFile(QStringLiteral("logo.pcx"), c.bytes);
        std::string message;
        EXPECT_EQ(vl::CheckLogoFile(vl::LocalPath(path), message), c.message.empty());
        EXPECT_EQ(message, c.message);
    }
    const std::pair<QString, std::string> unreadable[] = {
        {TempPath() + QStringLiteral("/missing.pcx"), kCannotOpen},
        {TempPath(), std::strerror(EISDIR)}, // opens, but the read fails
    };
    for (const auto& [path, expected] : unreadable) {
        SCOPED_TRACE(path.toStdString());
        std::string message;
        EXPECT_FALSE(vl::CheckLogoFile(vl::LocalPath(path), message));
        EXPECT_EQ(message, expected);
    }
}

// Changes the current directory while it is open, as the system's own dialog may, then answers from
// the fixture's script.
class WanderingDialogs : public platform::FileDialogService
{
  public:
    explicit WanderingDialogs(platform::FileDialogService& script) : m_script(script) {}
    std::optional<QString> Run(const platform::FileDialogRequest& request) override
    {
        platform::SetCurrentDirectory(QDir::rootPath());
        return m_script.Run(request);
    }

  private:
    platform::FileDialogService& m_script;
};

class LogoBrowse : public vltest::AppTest
{
};

TEST_F(LogoBrowse, acceptedFileFillsTheFieldAndIsRememberedRefusedAndCancelledChangeNothing)
{
    ASSERT_TRUE(Start());
    WanderingDialogs wandering(m_dialogs);
    platform::SetFileDialogService(&wandering);
    ASSERT_TRUE(QDir(TempPath()).mkdir(QStringLiteral("d1")) && QDir(TempPath()).mkdir(QStringLiteral("d2")));
    const QString d1 = TempPath() + QStringLiteral("/d1/");
    const QString d2 = TempPath() + QStringLiteral("/d2/");
    const QString good1 = WriteFile(QStringLiteral("d1/good.pcx"), Header(128, 2, 100, 80));
    const QString good2 = WriteFile(QStringLiteral("d2/small.pcx"), Header(128, 2, 1, 1));
    const QString v5 = WriteFile(QStringLiteral("d2/v5.pcx"), Header(128, 5, 0, 0));
    const QString big = WriteFile(QStringLiteral("d2/big.pcx"), Header(128, 2, 121, 0));

    struct Step {
        std::optional<QString> chosen; // none: cancelled
        QString startFolder;           // where the dialog opens
        std::string refusal;           // empty: no message
        QString field;                 // the logo path field afterwards
        QString remembered;
    };
    const Step steps[] = {
        {std::nullopt, m_program, "", QString(), QString()},
        {v5, m_program, kNotPcx2, QString(), QString()},
        {good1, m_program, "", good1, d1},
        {big, d1, kTooLarge, good1, d1},
        {d2 + QStringLiteral("none.pcx"), d1, kCannotOpen, good1, d1},
        {good2, d1, "", good2, d2},
        // A path the configuration's Windows-1252 text cannot hold would be lost at the next commit.
        {TempPath() + QStringLiteral("/\u0100/good.pcx"), d2, vl::kPathNotStorable, good2, d2},
        {std::nullopt, d2, "", good2, d2},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(++n);
        platform::SetCurrentDirectory(m_program);
        const bool wasModified = Doc()->IsModified();
        AnswerDialog(s.chosen);
        Control<QPushButton>("browseButton")->click();

        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), 1);
        const platform::FileDialogRequest& r = requests.front();
        EXPECT_EQ(r.kind, platform::FileDialogRequest::Kind::Open);
        EXPECT_EQ(r.filter, QStringLiteral("Version 2 PCX (*.pcx)|*.pcx|All Files (*.*)|*.*|"));
        EXPECT_EQ(r.initialName, QStringLiteral("*.pcx"));
        EXPECT_EQ(r.defaultExtension, QStringLiteral("*.pcx"));
        EXPECT_FALSE(r.mustExist);
        EXPECT_EQ(r.initialFolder, s.startFolder);
        EXPECT_EQ(TakeMessages(), s.refusal.empty() ? QStringList()
                                                    : QStringList{QStringLiteral("Error:\n") +
                                                                  QString::fromStdString(s.refusal)});
        EXPECT_EQ(Control<QLineEdit>("logoPathEdit")->text(), s.field);
        EXPECT_EQ(Doc()->LogoBrowseDir(), s.remembered);
        EXPECT_EQ(Doc()->IsModified(), wasModified || (s.chosen && s.refusal.empty()));
        EXPECT_EQ(QDir(platform::CurrentDirectory()).canonicalPath(), QDir(m_program).canonicalPath());
    }
    platform::SetFileDialogService(&m_dialogs);

    // The chosen path reaches the configuration at the next commit; one typed by hand is not checked.
    ASSERT_TRUE(Frame()->ValidateCurrentPage());
    const vl::SectionNode* general =
        vl::FindSection(Doc()->m_pRing, vl::kGeneralSection, vl::kGeneralSection);
    EXPECT_EQ(general->path, std::optional<std::string>(vl::LocalPath(good2)));
    Control<QLineEdit>("logoPathEdit")->clear();
    QTest::keyClicks(Control<QLineEdit>("logoPathEdit"), QStringLiteral("C:\\NOWHERE\\LOGO.PCX"));
    ASSERT_TRUE(Frame()->ValidateCurrentPage());
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(general->path, std::optional<std::string>("C:\\NOWHERE\\LOGO.PCX"));

    // Another configuration keeps the remembered folder.
    Doc()->SetModifiedFlag(false);
    m_app->OnFileNew();
    EXPECT_EQ(Doc()->LogoBrowseDir(), d2);
}

} // namespace
