// The pages' browse buttons through the window: they fill their fields and remember their folders.
#include "PageDriver.h"

#include <QPushButton>

namespace vltest
{
namespace
{

using Browse = PageDriver;

// "..." on either page puts the chosen file into its field, and the next "..." starts in its folder.
TEST_F(Browse, eachButtonFillsItsFieldAndRemembersTheFolder)
{
    OpenFile(kValidConfig);
    ASSERT_TRUE(QDir(TempPath()).mkpath(QStringLiteral("art")) &&
                QDir(TempPath()).mkpath(QStringLiteral("run")));
    const QString logo =
        WriteFile(QStringLiteral("art/LOGO.PCX"), QByteArray("\x0a\x02\x01\x08", 4) + QByteArray(124, '\0'));
    const QString program = WriteFile(QStringLiteral("run/RUN.EXE"), "MZ");
    const struct {
        bool product;
        const char* field;
        QString chosen;
    } rows[] = {{.product = false, .field = "logoPathEdit", .chosen = logo},
                {.product = true, .field = "pathEdit", .chosen = program}};
    for (const auto& row : rows) {
        if (row.product) {
            ToProduct();
            ClickItem(Entry(0, 0));
        }
        const int page = row.product ? vl::kProductPageId : vl::kGeneralPageId;
        auto* field = Control<QLineEdit>(row.field, page);
        Doc()->SetModifiedFlag(false);
        AnswerDialog(row.chosen);
        Click(Control<QPushButton>("browseButton", page));
        TakeDialogs();
        EXPECT_TRUE(field->text().endsWith(platform::FileNameOf(row.chosen))) << field->text().toStdString();
        EXPECT_TRUE(Doc()->IsModified());
        AnswerDialog(std::nullopt);
        Click(Control<QPushButton>("browseButton", page));
        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(QDir(requests[0].initialFolder), QFileInfo(row.chosen).dir());
    }
}

} // namespace
} // namespace vltest
