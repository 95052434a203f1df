// The document's New and Open: the default template, the reader's messages, refused names, and the
// save-changes question before another file is opened.
#include "app/AppFixture.h"
#include "document/CVLConfigDoc.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace
{

using platform::MsgAnswer;
using vltest::SmallConfig;

const QString kTemplateQuestion =
    QStringLiteral("Unable to locate the default config file(.cfg)\nWould you like to find it yourself ?");
const QString kCannotOpen = QStringLiteral("File not found in the given location or Unable to open the file");
const QString kBadLine = QStringLiteral("This file is not containing any valid keys to read..!!");
const QString kNoSection =
    QStringLiteral("This is an empty file ..!\nWould you like to continue with the same file?");
const QString kSavedInfo = QStringLiteral(
    "A configuration file (.INI) and a batch file (.BAT), both with the same name and folder path, have "
    "been created. You can launch the batch file separately to start Salvage Deck with the "
    "configuration file (or, you can click Preview).");

QString Canonical(const QString& folder)
{
    return QDir(folder).canonicalPath();
}

class DocNew : public vltest::DocTest
{
};

TEST_F(DocNew, withTheTemplate_loadsItWithoutAQuestionAsAnUntitledCleanDocument)
{
    // A document that had a name and changes: New forgets both.
    const QString old = WriteFile(QStringLiteral("OLD.ini"), vltest::ConfigWithGeneral("Old", "d"));
    ASSERT_TRUE(m_doc->OnOpenDocument(old));
    m_doc->SetModifiedFlag(true);
    PutTemplate(SmallConfig());
    platform::SetCurrentDirectory(TempPath());

    ASSERT_TRUE(m_doc->OnNewDocument());

    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(Canonical(platform::CurrentDirectory()), Canonical(m_program));
    EXPECT_EQ(m_doc->Title(), QStringLiteral("Untitled"));
    EXPECT_TRUE(m_doc->PathName().isEmpty());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(GeneralTitle(), "Welcome");
    EXPECT_EQ(vltest::CountSections(m_doc->m_pRing), 4);
}

TEST_F(DocNew, withoutTheTemplate_offersToFindOneAndFailsWhenDeclined)
{
    const QString elsewhere = WriteFile(QStringLiteral("Mine.cfg"), vltest::ConfigWithGeneral("Found", "d"));
    struct Case {
        const char* what;
        MsgAnswer answer;
        bool dialog;                   // the dialog is shown
        std::optional<QString> chosen; // its answer
        bool loaded;
    };
    const Case cases[] = {
        {"No", MsgAnswer::No, false, std::nullopt, false},
        {"Yes, then cancel", MsgAnswer::Yes, true, std::nullopt, false},
        {"Yes, then a file", MsgAnswer::Yes, true, elsewhere, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        Answer(c.answer);
        if (c.dialog)
            AnswerDialog(c.chosen);

        EXPECT_EQ(m_doc->OnNewDocument(), c.loaded);

        EXPECT_EQ(TakeMessages(), QStringList{kTemplateQuestion});
        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), c.dialog ? 1 : 0);
        if (c.dialog) {
            const platform::FileDialogRequest& r = requests.front();
            EXPECT_EQ(r.kind, platform::FileDialogRequest::Kind::Open);
            EXPECT_EQ(r.filter, QStringLiteral("Default Configuration File|*.cfg|(All Files)|*.*|"));
            EXPECT_EQ(r.initialName, QStringLiteral("VLDefault"));
            EXPECT_EQ(r.defaultExtension, QStringLiteral("*.cfg"));
            EXPECT_EQ(Canonical(r.initialFolder), Canonical(m_program));
        }
        EXPECT_EQ(m_doc->m_pRing != nullptr, c.loaded);
        EXPECT_EQ(GeneralTitle(), c.loaded ? "Found" : "(none)");
    }
}

TEST_F(DocNew, templateOfCommentsOnly_showsTheEmptyFileMessageAndFails)
{
    PutTemplate("; nothing but notes\r\n\r\n;[GENERAL]\r\n");
    EXPECT_FALSE(m_doc->OnNewDocument());
    EXPECT_EQ(TakeMessages(), QStringList{kNoSection});
    EXPECT_EQ(m_doc->m_pRing, nullptr);
}

class DocOpen : public vltest::DocTest
{
};

TEST_F(DocOpen, eachReaderStatusShowsItsMessageAndKeepsTheDocument)
{
    const QString good = WriteFile(QStringLiteral("GOOD.ini"), SmallConfig());
    ASSERT_TRUE(m_doc->OnOpenDocument(good));
    const vl::SectionNode* ring = m_doc->m_pRing;
    QSignalSpy recent(m_doc.get(), &vl::CVLConfigDoc::addedToRecentFiles);

    struct Case {
        const char* name;
        std::optional<QByteArray> bytes; // none: no such file
        QString message;
    };
    const Case cases[] = {
        {"MISSING.ini", std::nullopt, kCannotOpen},
        {"BADKEY.ini", QByteArray("[GENERAL]\r\nTITL=x\r\n"), kBadLine},
        {"INDENT.ini", QByteArray("[GENERAL]\r\n TITLE=x\r\n"), kBadLine},
        {"NOTES.ini", QByteArray(";a\r\n;b\r\n"), kNoSection},
        {"EMPTY.ini", QByteArray(), kNoSection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = TempPath() + QLatin1Char('/') + QString::fromLatin1(c.name);
        if (c.bytes)
            WriteFile(QString::fromLatin1(c.name), *c.bytes);
        EXPECT_FALSE(m_doc->OnOpenDocument(path));
        EXPECT_EQ(TakeMessages(), QStringList{c.message});
        EXPECT_EQ(m_doc->m_pRing, ring);
        EXPECT_EQ(m_doc->PathName(), good);
        EXPECT_EQ(GeneralTitle(), "Welcome");
    }
    EXPECT_EQ(recent.count(), 0);
}

TEST_F(DocOpen, refusesANameWhoseBatchFileWouldBeTheFileItself)
{
    const QString good = WriteFile(QStringLiteral("GOOD.ini"), SmallConfig());
    ASSERT_TRUE(m_doc->OnOpenDocument(good));
    for (const char* name : {".ini", ".INI", "x.bat", "X.BAT", "menu.Bat"}) {
        SCOPED_TRACE(name);
        const QString path = WriteFile(QString::fromLatin1(name), vltest::ConfigWithGeneral("Other", "d"));
        EXPECT_FALSE(m_doc->OnOpenDocument(path));
        EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("Invalid extension")});
        EXPECT_EQ(m_doc->PathName(), good);
        EXPECT_EQ(GeneralTitle(), "Welcome");
    }
    // Other names open, whatever their extension.
    for (const char* name : {"x.ini", "menu.cfg", "noext", "a.ini.txt"}) {
        SCOPED_TRACE(name);
        const QString path = WriteFile(QString::fromLatin1(name), vltest::ConfigWithGeneral("Other", "d"));
        EXPECT_TRUE(m_doc->OnOpenDocument(path));
        EXPECT_TRUE(TakeMessages().isEmpty());
        EXPECT_EQ(m_doc->PathName(), path);
        EXPECT_EQ(m_doc->Title(), QString::fromLatin1(name));
        EXPECT_FALSE(m_doc->IsModified());
    }
}

class DocSaveChanges : public vltest::AppTest
{
};

TEST_F(DocSaveChanges, openingAnotherFileAsksOnceAndFollowsTheAnswer)
{
    struct Case {
        const char* what;
        bool startNew; // else started on A.ini
        MsgAnswer answer;
        bool saved;  // the edited configuration reached the disk
        bool opened; // B.ini is the document afterwards
    };
    const Case cases[] = {
        {"Yes", false, MsgAnswer::Yes, true, true},
        {"No", false, MsgAnswer::No, false, true},
        {"Cancel", false, MsgAnswer::Cancel, false, false},
        {"Yes, untitled", true, MsgAnswer::Yes, true, true},
        {"No, untitled", true, MsgAnswer::No, false, true},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = QStringLiteral("r%1").arg(++round);
        QDir(TempPath()).mkdir(folder);
        const QString a = WriteFile(folder + QStringLiteral("/A.ini"), SmallConfig());
        const QString b =
            WriteFile(folder + QStringLiteral("/B.ini"), vltest::ConfigWithGeneral("Other", "d"));
        const QString saveAs = TempPath() + QLatin1Char('/') + folder + QStringLiteral("/NEW.ini");
        ASSERT_TRUE(c.startNew ? Start() : Start({a}));
        auto* title = Control<QLineEdit>("titleEdit");
        QTest::keyClicks(title, QStringLiteral("X"));
        ASSERT_TRUE(Doc()->IsModified());
        const QString edited = title->text();

        AnswerDialog(b);
        Answer(c.answer);
        if (c.startNew && c.answer == MsgAnswer::Yes)
            AnswerDialog(saveAs);
        m_app->OnFileOpen();

        TakeDialogs();
        const QString name = c.startNew ? QStringLiteral("Untitled") : QStringLiteral("A.ini");
        QStringList expected{QStringLiteral("Save changes to %1?").arg(name)};
        if (c.saved)
            expected.append(kSavedInfo);
        EXPECT_EQ(TakeMessages(), expected);
        const QByteArray written = ReadFile(c.startNew ? saveAs : a);
        EXPECT_EQ(written.contains("TITLE=" + edited.toLatin1() + "\r\n"), c.saved);
        if (!c.startNew && !c.saved) {
            EXPECT_EQ(written, SmallConfig());
        }
        EXPECT_EQ(Doc()->PathName(), c.opened ? b : (c.startNew ? QString() : a));
        EXPECT_EQ(title->text(), c.opened ? QStringLiteral("Other") : edited);
        EXPECT_EQ(Doc()->IsModified(), !c.opened);
        m_app.reset();
    }
}

} // namespace
