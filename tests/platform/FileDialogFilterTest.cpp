// The program's "Name|pattern|" filter texts as Qt's name filters, and the default extension.
#include "platform/FileDialogService.h"

#include <gtest/gtest.h>

TEST(FileDialogFilter, NameFiltersAndDefaultExtension)
{
    EXPECT_EQ(platform::NameFiltersOf(QStringLiteral("Executable|*.exe|Images|*.pcx;*.bmp|(All Files)|*.*|")),
              (QStringList{QStringLiteral("Executable (*.exe)"), QStringLiteral("Images (*.pcx *.bmp)"),
                           QStringLiteral("(All Files) (*.*)")}));
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/a/MENU", ".ini", "/a/MENU.ini"}, {"/a/M.INI", ".ini", "/a/M.INI"}, {"/a/logo", "*.pcx", "/a/logo.pcx"},
        {"/a.b/MENU", ".ini", "/a.b/MENU.ini"}, {"", ".ini", ""},
    };
    for (const auto& [chosen, extension, expected] : cases)
        EXPECT_EQ(platform::WithDefaultExtension(QString::fromLatin1(chosen), QString::fromLatin1(extension)),
                  QString::fromLatin1(expected));
}
