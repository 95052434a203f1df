// The two "..." buttons: a file the launcher can read on its medium is stored as its DOS path below
// the configuration's folder; any other file is refused with the reason.
#include "PageDriver.h"

#include <QDir>

namespace vltest
{
namespace
{

using Browse = PageDriver;

TEST_F(Browse, storesDosPathsBelowTheConfigurationsFolderAndRefusesTheRest)
{
    const QString stick = TempPath() + QStringLiteral("/stick");
    const QString outside = QStringLiteral(
        "Error:\nThe chosen file lies outside the folder of the configuration, %1.\nThe launcher finds its "
        "files on the medium that holds the configuration: choose a file in that folder or below it.");
    const QString form = QStringLiteral("Error:\nDOS cannot read the name \"%1\": a DOS name has 1 to 8 "
                                        "characters, then may have a dot and 1 to 3 more.");
    const QString blank = QStringLiteral("Error:\nDOS cannot read the name \"%1\": it holds a blank.");
    const QString refused =
        QStringLiteral("Error:\nDOS cannot read the name \"%1\": it holds a character DOS "
                       "refuses (accented letters and \" * + , / : ; < = > ? [ \\ ] |).");
    struct Row {
        bool logo;          // the General page's "..." (else the Product page's)
        const char* chosen; // below the test's folder
        QString stored;     // the field's text after it; empty: refused with message
        QString message;
    };
    const Row rows[] = {
        {true, "stick/LOGO2.PCX", QStringLiteral("LOGO2.PCX"), {}},
        {true, "OUT.PCX", {}, outside.arg(stick)},
        {true, "stick/LOGONAME1.PCX", {}, form.arg(QStringLiteral("LOGONAME1.PCX"))},
        {true, "stick/MY LOGO.PCX", {}, blank.arg(QStringLiteral("MY LOGO.PCX"))},
        {true, "stick/A+B.PCX", {}, refused.arg(QStringLiteral("A+B.PCX"))},
        {false, "stick/TOOLS/Run.exe", QStringLiteral("TOOLS\\Run.exe"), {}},
        {false, "stick/TOOLS/MY PROG/RUN.EXE", {}, blank.arg(QStringLiteral("MY PROG"))},
        {false, "OUT.EXE", {}, outside.arg(stick)},
    };
    ASSERT_TRUE(QDir().mkpath(stick + QStringLiteral("/TOOLS/MY PROG")));
    const QByteArray logoHeader = QByteArray("\x0A\x02\x01\x08") + QByteArray(124, '\0');
    for (const bool saved : {true, false}) {
        SCOPED_TRACE(saved ? "saved" : "never saved");
        if (saved) {
            OpenFile(kValidConfig, QStringLiteral("stick/C.ini"));
        } else {
            ASSERT_TRUE(Start());
            Frame()->show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
        }
        QString folder = saved ? stick + QLatin1Char('/') : QString(); // none until a file is taken
        for (const auto& [logo, chosen, stored, message] : rows) {
            if (!logo && !ProdPage()) {
                ToProduct();
                ClickItem(Entry(0, 0));
            }
            auto* field = logo ? Gen<QLineEdit>("logoPathEdit") : Prod<QLineEdit>("pathEdit");
            const QString before = field->text();
            AnswerDialog(WriteFile(QLatin1String(chosen), logoHeader));
            Click(logo ? Gen("browseButton") : Prod("browseButton"));
            EXPECT_EQ(TakeDialogs().value(0).initialFolder, folder) << chosen;
            EXPECT_EQ(TakeMessages(), message.isEmpty() ? QStringList() : QStringList{message}) << chosen;
            EXPECT_EQ(field->text(), stored.isEmpty() ? before : stored) << chosen;
            folder = stick + QLatin1Char('/');
        }
        if (!saved) {
            m_path = stick + QStringLiteral("/NEW.ini");
            AnswerDialog(m_path);
        }
        const QByteArray file = SaveAndRead();
        const auto asked = TakeDialogs(); // Save As only when never saved, starting in the taken folder
        EXPECT_TRUE(saved ? asked.isEmpty() : asked.size() == 1 && asked[0].initialFolder == folder);
        EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
        EXPECT_TRUE(file.contains("\r\nPATH=LOGO2.PCX\r\n") && file.contains("\r\nPATH=TOOLS\\Run.exe\r\n"));
    }
}

} // namespace
} // namespace vltest
