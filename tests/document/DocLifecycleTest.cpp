// The document's New and Open: the default template, the reader's messages, refused names, and the
// save-changes question before another file is opened.
#include "app/AppFixture.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using platform::MsgAnswer;
using namespace vltest;

const QString kBadLine = QStringLiteral("This file is not containing any valid keys to read..!!");
const QString kNoTemplate =
    QStringLiteral("Unable to locate the default config file(.cfg)\nWould you like to find it yourself ?");
const QString kNoSection =
    QStringLiteral("This is an empty file ..!\nWould you like to continue with the same file?");

using DocNew = DocTest;
using DocOpen = DocTest;
using DocSaveChanges = AppTest;

TEST_F(DocNew, loadsTheTemplateWithoutAQuestionOrOffersToFindOne)
{
    // A document that had a name and changes: New forgets both.
    ASSERT_TRUE(m_doc->OnOpenDocument(WriteFile(QStringLiteral("OLD.ini"), ConfigWithGeneral("Old", "d"))));
    m_doc->SetModifiedFlag(true);
    PutTemplate(SmallConfig());
    platform::SetCurrentDirectory(TempPath());

    ASSERT_TRUE(m_doc->OnNewDocument());

    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(QDir(platform::CurrentDirectory()).canonicalPath(), QDir(TempPath()).canonicalPath());
    EXPECT_EQ(m_doc->Title(), QStringLiteral("Untitled"));
    EXPECT_TRUE(m_doc->PathName().isEmpty());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(GeneralTitle(), "Welcome");
    EXPECT_EQ(CountSections(m_doc->m_pRing), 4);

    // A template of comments only has no section to start from.
    PutTemplate("; nothing but notes\r\n\r\n;[GENERAL]\r\n");
    m_doc = std::make_unique<vl::CVLConfigDoc>();
    EXPECT_FALSE(m_doc->OnNewDocument());
    EXPECT_EQ(TakeMessages(), QStringList{kNoSection});
    EXPECT_EQ(m_doc->m_pRing, nullptr);

    // Without the template, New offers to find one and fails when that is declined.
    ASSERT_TRUE(QFile::remove(m_program + QLatin1String("VLDefault.cfg")));
    const QString elsewhere = WriteFile(QStringLiteral("Mine.cfg"), ConfigWithGeneral("Found", "d"));
    // The answer to the question, then the dialog's (none: cancelled).
    const std::pair<MsgAnswer, std::optional<QString>> cases[] = {
        {MsgAnswer::No, std::nullopt}, {MsgAnswer::Yes, std::nullopt}, {MsgAnswer::Yes, elsewhere}};
    for (const auto& [answer, chosen] : cases) {
        const bool dialog = answer == MsgAnswer::Yes;
        SCOPED_TRACE(testing::Message() << dialog << chosen.has_value());
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        Answer(answer);
        if (dialog)
            AnswerDialog(chosen);

        EXPECT_EQ(m_doc->OnNewDocument(), chosen.has_value());

        EXPECT_EQ(TakeMessages(), QStringList{kNoTemplate});
        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), dialog ? 1 : 0);
        if (dialog) {
            EXPECT_EQ(requests.front().kind, platform::FileDialogRequest::Kind::Open);
            EXPECT_EQ(requests.front().initialFolder, m_program);
        }
        EXPECT_EQ(GeneralTitle(), chosen ? "Found" : "(none)");
    }
}

// Each refusal shows its message and keeps the document as it was, ring, name and all.
TEST_F(DocOpen, eachReaderStatusAndRefusedNameShowsItsMessage)
{
    const QString good = WriteFile(QStringLiteral("GOOD.ini"), SmallConfig());
    const QByteArray other = ConfigWithGeneral("Other", "d");
    QSignalSpy recent(m_doc.get(), &vl::CVLConfigDoc::addedToRecentFiles);
    // The file's name, its bytes (none: no such file), the message (empty: it opens).
    const std::tuple<const char*, std::optional<QByteArray>, QString> cases[] = {
        {"MISSING.ini", std::nullopt, kCannotOpen},
        {"EMPTY.ini", QByteArray(), kNoSection},
        {"BADKEY.ini", QByteArray("[GENERAL]\r\nTITL=x\r\n"), kBadLine},
        {"INDENT.ini", QByteArray("[GENERAL]\r\n TITLE=x\r\n"), kBadLine},
        {"NOTES.ini", QByteArray(";a\r\n;b\r\n"), kNoSection},
        // Names whose batch file would be the file itself.
        {".ini", other, kBadExtension},
        {".INI", other, kBadExtension},
        {"x.bat", other, kBadExtension},
        {"X.BAT", other, kBadExtension},
        {"menu.Bat", other, kBadExtension},
        // Other names open, whatever their extension.
        {"x.ini", other, {}},
        {"menu.cfg", other, {}},
        {"noext", other, {}},
        {"a.ini.txt", other, {}},
    };
    for (const auto& [name, bytes, message] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(m_doc->OnOpenDocument(good));
        const vl::SectionNode* ring = m_doc->m_pRing;
        recent.clear();
        if (bytes)
            WriteFile(QLatin1String(name), *bytes);
        const bool opens = message.isEmpty();

        EXPECT_EQ(m_doc->OnOpenDocument(Path(name)), opens);

        EXPECT_EQ(TakeMessages(), opens ? QStringList() : QStringList{message});
        EXPECT_EQ(m_doc->m_pRing == ring, !opens);
        EXPECT_EQ(m_doc->PathName(), opens ? Path(name) : good);
        EXPECT_EQ(m_doc->Title(), opens ? QLatin1String(name) : QLatin1String("GOOD.ini"));
        EXPECT_EQ(GeneralTitle(), opens ? "Other" : "Welcome");
        EXPECT_FALSE(m_doc->IsModified());
        EXPECT_EQ(recent.count(), opens ? 1 : 0);
    }
}

TEST_F(DocSaveChanges, openingAnotherFileAsksOnceAndFollowsTheAnswer)
{
    // Whether the edited document is untitled (else it is A.ini), and the answer.
    const std::pair<bool, MsgAnswer> cases[] = {{false, MsgAnswer::Yes},
                                                {false, MsgAnswer::No},
                                                {false, MsgAnswer::Cancel},
                                                {true, MsgAnswer::Yes},
                                                {true, MsgAnswer::No}};
    for (const auto& [untitled, answer] : cases) {
        SCOPED_TRACE(testing::Message() << untitled << ", answer " << int(answer));
        const QString a = WriteFile(QStringLiteral("A.ini"), SmallConfig());
        const QString b = WriteFile(QStringLiteral("B.ini"), ConfigWithGeneral("Other", "d"));
        const QString saveAs = Path("NEW.ini");
        QFile::remove(saveAs);
        ASSERT_TRUE(untitled ? Start() : Start({a}));
        auto* title = Control<QLineEdit>("titleEdit");
        QTest::keyClicks(title, QStringLiteral("X"));
        ASSERT_TRUE(Doc()->IsModified());
        const QString edited = title->text();
        const bool saved = answer == MsgAnswer::Yes;
        const bool opened = answer != MsgAnswer::Cancel;

        AnswerDialog(b);
        Answer(answer);
        if (untitled && saved)
            AnswerDialog(saveAs);
        m_app->OnFileOpen();

        TakeDialogs();
        QStringList expected{
            QLatin1String(untitled ? "Save changes to Untitled?" : "Save changes to A.ini?")};
        if (saved)
            expected.append(kSavedInfo);
        EXPECT_EQ(TakeMessages(), expected);
        const QByteArray written = ReadFile(untitled ? saveAs : a);
        EXPECT_EQ(written.contains("TITLE=" + edited.toLatin1() + "\r\n"), saved);
        EXPECT_TRUE(untitled || saved || written == SmallConfig());
        EXPECT_EQ(Doc()->PathName(), opened ? b : (untitled ? QString() : a));
        EXPECT_EQ(title->text(), opened ? QStringLiteral("Other") : edited);
        EXPECT_EQ(Doc()->IsModified(), !opened);
    }
}
