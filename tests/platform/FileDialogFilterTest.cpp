// The program's "Name|pattern|" filter texts as Qt's name filters, and the default extension.
#include "platform/FileDialogService.h"

#include <gtest/gtest.h>

TEST(FileDialogFilter, turnsPairsIntoNameFilters)
{
    struct Case {
        const char* filter;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"Configuration Files (*.ini)|*.ini|All Files (*.*)|*.*|",
         {"Configuration Files (*.ini)", "All Files (*.*)"}},
        {"Executable|*.exe|Batch File|*.bat|(All Files)|*.*|",
         {"Executable (*.exe)", "Batch File (*.bat)", "(All Files) (*.*)"}},
        {"Default Configuration File|*.cfg|(All Files)|*.*|",
         {"Default Configuration File (*.cfg)", "(All Files) (*.*)"}},
        {"Images|*.pcx;*.bmp|", {"Images (*.pcx *.bmp)"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        QStringList expected;
        for (const char* e : c.expected)
            expected.append(QString::fromLatin1(e));
        EXPECT_EQ(platform::NameFiltersOf(QString::fromLatin1(c.filter)), expected) << c.filter;
    }
}

TEST(FileDialogFilter, addsTheDefaultExtensionOnlyToANameWithout)
{
    struct Case {
        const char* chosen;
        const char* extension;
        const char* expected;
    };
    const Case cases[] = {
        {"/a/MENU", ".ini", "/a/MENU.ini"},
        {"/a/MENU.INI", ".ini", "/a/MENU.INI"},
        {"/a/logo", "*.pcx", "/a/logo.pcx"},
        {"/a/x.cfg", "*.cfg", "/a/x.cfg"},
        {"/a/MENU", "", "/a/MENU"},
        {"", ".ini", ""},
        {"/a.b/MENU", ".ini", "/a.b/MENU.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            platform::WithDefaultExtension(QString::fromLatin1(c.chosen), QString::fromLatin1(c.extension)),
            QString::fromLatin1(c.expected))
            << c.chosen;
}
