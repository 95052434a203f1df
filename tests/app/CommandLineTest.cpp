// The command line, the start-up it leads to, and the recent-file list.
#include "shell/CommandLine.h"
#include "app/AppFixture.h"

#include <QLineEdit>
#include <cstring>

namespace
{

using Action = vl::CommandLine::Action;

TEST(CommandLine, switchesAndTheFileToOpen)
{
    struct Case {
        QStringList arguments;
        Action action;
        QString file;
    };
    const Case cases[] = {
        {{}, Action::Run, QString()},
        {{QStringLiteral("menu.ini")}, Action::Run, QStringLiteral("menu.ini")},
        {{QStringLiteral("/home/x/a.ini")}, Action::Run, QStringLiteral("/home/x/a.ini")},
        {{QStringLiteral("/p"), QStringLiteral("a.ini")}, Action::Print, QStringLiteral("a.ini")},
        {{QStringLiteral("/pt"), QStringLiteral("a.ini"), QStringLiteral("printer")},
         Action::Print,
         QStringLiteral("a.ini")},
        {{QStringLiteral("-pt"), QStringLiteral("a.ini")}, Action::Print, QStringLiteral("a.ini")},
        {{QStringLiteral("-p")}, Action::Print, QString()},
        {{QStringLiteral("/dde")}, Action::Dde, QString()},
        {{QStringLiteral("/UNREGISTER")}, Action::Unregister, QString()},
        {{QStringLiteral("/unregserver")}, Action::Unregister, QString()},
        {{QStringLiteral("-Unregister")}, Action::Unregister, QString()},
        {{QStringLiteral("-zz"), QStringLiteral("a.ini")}, Action::Run, QStringLiteral("a.ini")},
        {{QStringLiteral("/zz")}, Action::Run, QStringLiteral("/zz")},
        // "p", "pt" and "dde" are matched in lower case only: "/P" is a path, "-P" an unknown switch.
        {{QStringLiteral("/P")}, Action::Run, QStringLiteral("/P")},
        {{QStringLiteral("/DDE")}, Action::Run, QStringLiteral("/DDE")},
        {{QStringLiteral("-P"), QStringLiteral("b.ini")}, Action::Run, QStringLiteral("b.ini")},
        {{QStringLiteral("--help")}, Action::Help, QString()},
        {{QStringLiteral("--version")}, Action::Version, QString()},
        {{QStringLiteral("a.ini"), QStringLiteral("b.ini")}, Action::Run, QStringLiteral("a.ini")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const vl::CommandLine line = vl::ParseCommandLine(c.arguments);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.file, c.file);
    }
}

class AppStart : public vltest::AppTest
{
};

TEST_F(AppStart, withoutArgumentsShowsANewDocumentOnTheGeneralPage)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Salvage Deck Configuration Utility - Untitled"));
    EXPECT_EQ(Frame()->CurrentPageId(), vl::kGeneralPageId);
    EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(), QStringLiteral("Salvage Deck"));
    EXPECT_TRUE(Control<QLineEdit>("titleEdit")->hasFocus());
    EXPECT_EQ(Frame()->StatusText(), QStringLiteral("Enter a title of less than 18 characters."));
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppStart, switchesAndFailedOpeningsEndWithoutAWindow)
{
    const QString file = WriteFile(QStringLiteral("a.ini"), vltest::SmallConfig());
    struct Case {
        QStringList arguments;
        const char* output; // the start of what goes to standard output
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("--help")}, "Usage: vlconfig [FILE]\n", QString()},
        {{QStringLiteral("--version")}, "Salvage Deck Configuration Utility 1.0", QString()},
        {{QStringLiteral("/p"), file}, "", QString()},
        {{QStringLiteral("/pt"), file, QStringLiteral("lp0")}, "", QString()},
        {{QStringLiteral("/dde")}, "", QString()},
        {{TempPath() + QStringLiteral("/missing.ini")},
         "",
         QStringLiteral("File not found in the given location or Unable to open the file")},
        {{WriteFile(QStringLiteral("x.bat"), vltest::SmallConfig())},
         "",
         QStringLiteral("Invalid extension")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        testing::internal::CaptureStdout();
        EXPECT_FALSE(Start(c.arguments));
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output.substr(0, std::strlen(c.output)), c.output);
        EXPECT_TRUE(Frame() == nullptr || !Frame()->isVisible());
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(ReadFile(file), vltest::SmallConfig());
    }
}

TEST_F(AppStart, unregisterRemovesTheSettingsAndEnds)
{
    platform::RecentFileList recent;
    recent.Add(QStringLiteral("/x/a.ini"));
    recent.Save();
    const QString settingsFile = platform::OpenSettings()->fileName();
    ASSERT_TRUE(QFile::exists(settingsFile));

    EXPECT_FALSE(Start({QStringLiteral("/Unregister")}));

    EXPECT_EQ(Frame(), nullptr);
    EXPECT_EQ(TakeMessages(),
              QStringList{QStringLiteral("System registry entries have been removed and the INI file "
                                         "(if any) was deleted.")});
    EXPECT_FALSE(QFile::exists(settingsFile));
}

TEST_F(AppStart, recentFilesNeverExceedFourAndAreKeptInTheSettings)
{
    QStringList opened;
    for (int i = 1; i <= 5; ++i)
        opened.append(WriteFile(QStringLiteral("f%1.ini").arg(i), vltest::SmallConfig()));
    ASSERT_TRUE(Start({opened[0]}));
    for (int i = 1; i < 5; ++i)
        ASSERT_TRUE(m_app->OpenDocumentFile(opened[i]));
    ASSERT_TRUE(m_app->OpenDocumentFile(opened[2])); // again: it moves to the top, not in twice

    const QStringList expected{opened[2], opened[4], opened[3], opened[1]};
    EXPECT_EQ(m_app->RecentFiles().Files(), expected);
    auto settings = platform::OpenSettings();
    EXPECT_EQ(settings->applicationName(), QStringLiteral("Salvage Deck"));
    EXPECT_EQ(settings->organizationName(), QStringLiteral("Local AppWizard-Generated Applications"));
    settings->beginGroup(QStringLiteral("Recent File List"));
    EXPECT_EQ(settings->childKeys(), (QStringList{QStringLiteral("File1"), QStringLiteral("File2"),
                                                  QStringLiteral("File3"), QStringLiteral("File4")}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(settings->value(QStringLiteral("File%1").arg(i + 1)).toString(), expected[i]);
    settings.reset();

    // A listed file that no longer opens leaves the list.
    ASSERT_TRUE(QFile::remove(opened[4]));
    EXPECT_FALSE(m_app->OpenDocumentFile(opened[4]));
    EXPECT_EQ(TakeMessages().size(), 1);
    platform::RecentFileList reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Files(), (QStringList{opened[2], opened[3], opened[1]}));
}

TEST(RecentFileList, keepsTheNewestFourWithoutDuplicates)
{
    platform::RemoveSettings();
    platform::RecentFileList list;
    for (const char* path : {"/a.ini", "/b.ini", "/c.ini", "/a.ini", "/d.ini", "/e.ini", ""})
        list.Add(QString::fromLatin1(path));
    const QStringList expected{QStringLiteral("/e.ini"), QStringLiteral("/d.ini"), QStringLiteral("/a.ini"),
                               QStringLiteral("/c.ini")};
    EXPECT_EQ(list.Files(), expected);
    list.Save();
    platform::RecentFileList reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Files(), expected);
    // A shorter list removes the keys it no longer uses.
    reloaded.Remove(QStringLiteral("/d.ini"));
    reloaded.Save();
    auto settings = platform::OpenSettings();
    EXPECT_FALSE(settings->contains(QStringLiteral("Recent File List/File4")));
    EXPECT_EQ(settings->value(QStringLiteral("Recent File List/File2")).toString(), QStringLiteral("/a.ini"));
    settings.reset();
    platform::RemoveSettings();
}

} // namespace
