// The command line, the start-up it leads to, and the recent-file list.
#include "shell/CommandLine.h"
#include "app/AppFixture.h"

#include <QLineEdit>
#include <QPushButton>

using Action = vl::CommandLine::Action;

TEST(CommandLine, switchesAndTheFileToOpen)
{
    // The arguments, space-separated; what the program does; the file it opens.
    const std::tuple<const char*, Action, const char*> cases[] = {
        {"", Action::Run, ""},
        {"menu.ini", Action::Run, "menu.ini"},
        {"/p a.ini", Action::Print, "a.ini"},
        {"/pt a.ini printer", Action::Print, "a.ini"},
        {"-pt a.ini", Action::Print, "a.ini"},
        {"-p", Action::Print, ""},
        {"/dde", Action::Dde, ""},
        {"/UNREGISTER", Action::Unregister, ""},
        {"/unregserver", Action::Unregister, ""},
        {"-Unregister", Action::Unregister, ""},
        {"/zz", Action::Run, "/zz"},
        {"--help", Action::Help, ""},
        {"--version", Action::Version, ""},
        {"a.ini b.ini", Action::Run, "a.ini"},
        // "p", "pt" and "dde" are matched in lower case only: "/P" is a path, "-P" an unknown switch.
        {"/P", Action::Run, "/P"},
        {"/DDE", Action::Run, "/DDE"},
        {"-P b.ini", Action::Run, "b.ini"},
    };
    for (const auto& [arguments, action, file] : cases) {
        SCOPED_TRACE(arguments);
        const vl::CommandLine line =
            vl::ParseCommandLine(QString::fromLatin1(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        EXPECT_EQ(line.action, action);
        EXPECT_EQ(line.file, QLatin1String(file));
    }
}

using AppStart = vltest::AppTest;

TEST_F(AppStart, withoutArgumentsShowsANewDocumentOnTheGeneralPage)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Salvage Deck Configuration Utility - Untitled"));
    EXPECT_EQ(Frame()->CurrentPageId(), vl::kGeneralPageId);
    EXPECT_EQ(Control<QLineEdit>("titleEdit")->text(), QStringLiteral("Salvage Deck"));
    EXPECT_TRUE(Control<QLineEdit>("titleEdit")->hasFocus());
    EXPECT_FALSE(Doc()->IsModified());
    // Each field of the General page shows its prompt while it has the focus, starting with the title.
    const std::pair<const char*, const char*> prompts[] = {
        {"titleEdit", "Enter a title of less than 18 characters."},
        {"descriptionEdit", "Enter a description of less than 240 characters."},
        {"logoPathEdit", "Enter the path/filename for company logo."},
    };
    for (const auto& [name, prompt] : prompts) {
        SCOPED_TRACE(name);
        Control<QWidget>(name)->setFocus();
        vltest::ProcessEvents();
        EXPECT_EQ(Frame()->StatusText(), QLatin1String(prompt));
    }
    Control<QPushButton>("browseButton")->setFocus();
    vltest::ProcessEvents();
    EXPECT_EQ(Frame()->StatusText(), QString());
}

TEST_F(AppStart, switchesAndFailedOpeningsEndWithoutAWindow)
{
    const QString file = WriteFile(QStringLiteral("a.ini"), vltest::SmallConfig());
    platform::RecentFileList recent;
    recent.Add(file);
    recent.Save();
    const QString settingsFile = platform::OpenSettings()->fileName();
    ASSERT_TRUE(QFile::exists(settingsFile));
    const QString bat = WriteFile(QStringLiteral("x.bat"), vltest::SmallConfig());
    const QString removed =
        QStringLiteral("System registry entries have been removed and the INI file (if any) was deleted.");
    // The arguments, the start of what goes to standard output, the message.
    const std::tuple<QStringList, const char*, QString> cases[] = {
        {{QStringLiteral("--help")}, "Usage: vlconfig [FILE]\n", {}},
        {{QStringLiteral("--version")}, "Salvage Deck Configuration Utility 1.0", {}},
        {{QStringLiteral("/p"), file}, "", {}},
        {{QStringLiteral("/dde")}, "", {}},
        {{Path("missing.ini")}, "", vltest::kCannotOpen},
        {{bat}, "", vltest::kBadExtension},
        {{QStringLiteral("/Unregister")}, "", removed}, // last, as it removes the settings
    };
    for (const auto& [arguments, output, message] : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        testing::internal::CaptureStdout();
        EXPECT_FALSE(Start(arguments));
        EXPECT_EQ(testing::internal::GetCapturedStdout().rfind(output, 0), 0u) << "begins with " << output;
        EXPECT_TRUE(Frame() == nullptr || !Frame()->isVisible());
        EXPECT_EQ(TakeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        EXPECT_EQ(ReadFile(file), vltest::SmallConfig());
    }
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
    platform::RecentFileList stored;
    stored.Load();
    EXPECT_EQ(stored.Files(), expected);

    // A listed file that no longer opens leaves the list, and its key goes.
    ASSERT_TRUE(QFile::remove(opened[4]));
    EXPECT_FALSE(m_app->OpenDocumentFile(opened[4]));
    EXPECT_EQ(TakeMessages(), QStringList{vltest::kCannotOpen});
    stored.Load();
    EXPECT_EQ(stored.Files(), (QStringList{opened[2], opened[3], opened[1]}));
    EXPECT_FALSE(platform::OpenSettings()->contains(QStringLiteral("Recent File List/File4")));
}
