// Where the real file dialog opens, and where an installed program finds its data.
#include "platform/Paths.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

using DialogFolder = vltest::GuiTest;

// Opens the real dialog, notes the folder it shows, then chooses path there (empty: cancels).
static QString ShownFolder(platform::QtFileDialogService& dialogs, const QString& path = {})
{
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->directory().absolutePath();
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, path.isEmpty() ? "reject" : "accept");
    });
    dialogs.Run({});
    return shown;
}

TEST_F(DialogFolder, firstWhereTheProgramStartedOrHomeThenWhereTheLastEnded_DataInShareWhenInstalled)
{
    platform::QtFileDialogService dialogs;
    platform::SetCurrentDirectory(QDir::rootPath());
    EXPECT_EQ(ShownFolder(dialogs), QDir::homePath());
    ShownFolder(dialogs, WriteFile(QStringLiteral("A.ini"), {}));
    EXPECT_EQ(ShownFolder(dialogs), TempPath());

    const QString bin = TempPath() + QStringLiteral("/bin");
    EXPECT_EQ(platform::DataFolderOf(bin), bin + QLatin1Char('/'));
    ASSERT_TRUE(QDir().mkpath(TempPath() + QStringLiteral("/share/vlconfig")));
    EXPECT_EQ(platform::DataFolderOf(bin), TempPath() + QStringLiteral("/share/vlconfig/"));
}
