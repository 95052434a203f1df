// The General page driven through its controls: typing limits, the commit's checks and messages, the
// general section it makes or updates, the modified flag, the status prompts and Next.
#include "app/AppFixture.h"
#include "pages/TextLimits.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace
{

using vltest::ConfigWithGeneral;

const QString kTitleMessage = QStringLiteral("Please enter the title less than 19 characters");
const QString kDescriptionMessage = QStringLiteral("Please enter the description less than 180 characters");

class GenView : public vltest::AppTest
{
  protected:
    // Starts on a configuration file of the given bytes.
    void StartOn(const QByteArray& config)
    {
        m_app.reset();
        ASSERT_TRUE(Start({WriteFile(QStringLiteral("GEN.ini"), config)}));
        ASSERT_FALSE(Doc()->IsModified());
    }
    QLineEdit* Title() const { return Control<QLineEdit>("titleEdit"); }
    QPlainTextEdit* Description() const { return Control<QPlainTextEdit>("descriptionEdit"); }
    QLineEdit* Logo() const { return Control<QLineEdit>("logoPathEdit"); }
    const vl::SectionNode* General() const
    {
        return vl::FindSection(Doc()->m_pRing, vl::kGeneralSection, vl::kGeneralSection);
    }
};

// Types text one key at a time; unlike QTest::keyClicks it takes characters beyond Latin-1.
void Type(QWidget* field, const QString& text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key(ch.toUpper().unicode()), QString(ch),
                            Qt::NoModifier);
}

// The frame, for a page shown without one: the page only commits here.
class NoFrame : public vl::PageHost
{
  public:
    void SwitchPage(int) override {}
    void SetStatusPrompt(const QString&) override {}
    void FitFrameToPage(QWidget*) override {}
    void UpdateCommands() override {}
};

TEST_F(GenView, typingAndPastingStopAtTheLimitsCountingALineBreakAsTwo)
{
    ASSERT_TRUE(Start());
    Title()->clear();
    QTest::keyClicks(Title(), QString(19, QLatin1Char('t')));
    EXPECT_EQ(Title()->text(), QString(18, QLatin1Char('t')));
    Title()->clear();
    QGuiApplication::clipboard()->setText(QString(30, QLatin1Char('p')));
    Title()->paste();
    EXPECT_EQ(Title()->text(), QString(18, QLatin1Char('p')));

    struct Case {
        const char* what;
        QString typed;  // typed first, a "\n" as the Enter key
        QString pasted; // then pasted
        QString expected;
    };
    const QString a237(237, QLatin1Char('a'));
    const QString a238(238, QLatin1Char('a'));
    const Case cases[] = {
        {"237 and a line break make 239", a237 + QStringLiteral("\nb"), QString(),
         a237 + QStringLiteral("\n")},
        {"238 and a line break would make 240", a238 + QStringLiteral("\nb"), QString(),
         a238 + QStringLiteral("b")},
        {"239 characters", a238 + QStringLiteral("bc"), QString(), a238 + QStringLiteral("b")},
        {"a long paste is cut", QString(), QString(300, QLatin1Char('p')), QString(239, QLatin1Char('p'))},
        {"a paste whose line break fills it", QString(), a237 + QStringLiteral("\nyy"),
         a237 + QStringLiteral("\n")},
        {"a paste after typing", QStringLiteral("abc"), QString(250, QLatin1Char('p')),
         QStringLiteral("abc") + QString(236, QLatin1Char('p'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Description()->clear();
        for (QChar ch : c.typed) {
            if (ch == QLatin1Char('\n'))
                QTest::keyClick(Description(), Qt::Key_Return);
            else
                QTest::keyClicks(Description(), QString(ch));
        }
        if (!c.pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(c.pasted);
            Description()->paste();
        }
        EXPECT_EQ(Description()->toPlainText(), c.expected);
        EXPECT_LE(vl::StoredLength(Description()->toPlainText()), 239);
        if (!c.pasted.isEmpty()) {
            // One Undo takes back the paste and its trim together.
            Description()->undo();
            EXPECT_EQ(Description()->toPlainText(), c.typed);
        }
    }
}

TEST_F(GenView, refusedKeystrokesChangeNothingAndLeaveTheDocumentClean)
{
    // "€" is in Windows-1252, "Ā" is not.
    const QString title18(18, QLatin1Char('T'));
    QString description239(237, QLatin1Char('d'));
    description239 += QStringLiteral("\r\r");
    StartOn(ConfigWithGeneral(title18.toLatin1(), description239.toLatin1()));
    struct Case {
        const char* what;
        QWidget* field;
        QString keys;
    };
    const Case cases[] = {
        {"title full", Title(), QStringLiteral("x")},
        {"description full", Description(), QStringLiteral("x")},
        {"title, outside the code page", Title(), QStringLiteral("\u0100")},
        {"description, outside the code page", Description(), QStringLiteral("\u0100")},
        {"logo path, outside the code page", Logo(), QStringLiteral("\u0100")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Doc()->SetModifiedFlag(false);
        Type(c.field, c.keys);
        EXPECT_EQ(Title()->text(), title18);
        EXPECT_EQ(vl::StoredLength(Description()->toPlainText()), 239);
        EXPECT_EQ(Logo()->text(), QString());
        EXPECT_FALSE(Doc()->IsModified());
    }
    // Around a refused character the others are taken.
    Title()->clear();
    Description()->clear();
    for (QWidget* field : {static_cast<QWidget*>(Title()), static_cast<QWidget*>(Description()),
                           static_cast<QWidget*>(Logo())})
        Type(field, QStringLiteral("\u20ac\u0100x"));
    EXPECT_EQ(Title()->text(), QStringLiteral("\u20acx"));
    EXPECT_EQ(Description()->toPlainText(), QStringLiteral("\u20acx"));
    EXPECT_EQ(Logo()->text(), QStringLiteral("\u20acx"));
}

TEST_F(GenView, commitChecksTheTitleThenTheDescription)
{
    const QByteArray a237(237, 'a');
    struct Case {
        const char* what;
        QByteArray title;
        QByteArray description; // as in the file: "\r\r" is a line break
        QString message;        // empty: the page commits and Next shows the Product page
    };
    const Case cases[] = {
        {"18-byte title", QByteArray(18, 'T'), "d", QString()},
        {"19-byte title", QByteArray(19, 'T'), "d", kTitleMessage},
        {"empty title", "", "d", kTitleMessage},
        {"empty title and description", "", "", kTitleMessage},
        {"239 bytes", "t", QByteArray(239, 'd'), QString()},
        {"200 bytes", "t", QByteArray(200, 'd'), QString()},
        {"240 bytes", "t", QByteArray(240, 'd'), kDescriptionMessage},
        {"237 and a line break", "t", a237 + "\r\r", QString()},
        {"238 and a line break", "t", a237 + "a\r\r", kDescriptionMessage},
        {"one line break", "t", "\r\r", QString()},
        {"empty description", "t", "", kDescriptionMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartOn(ConfigWithGeneral(c.title, c.description, "LOGO.PCX"));
        ASSERT_EQ(Title()->text(), QString::fromLatin1(c.title)); // loaded uncut
        Control<QPushButton>("nextButton")->click();
        EXPECT_EQ(TakeMessages(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(Frame()->CurrentPageId(), c.message.isEmpty() ? vl::kProductPageId : vl::kGeneralPageId);
        EXPECT_FALSE(Doc()->IsModified()); // neither loading nor committing marks it
    }
}

TEST_F(GenView, withoutAConfigurationEveryCommitIsRefused)
{
    vl::CVLConfigDoc doc;
    NoFrame host;
    vl::CVLGenView page(&doc, &host);
    page.OnInitialUpdate();
    auto* title = page.findChild<QLineEdit*>(QStringLiteral("titleEdit"));
    auto* description = page.findChild<QPlainTextEdit*>(QStringLiteral("descriptionEdit"));
    ASSERT_TRUE(title && description);
    for (bool filled : {false, true}) {
        SCOPED_TRACE(filled ? "valid fields" : "empty fields");
        if (filled) {
            QTest::keyClicks(title, QStringLiteral("Title"));
            QTest::keyClicks(description, QStringLiteral("Text"));
        }
        EXPECT_FALSE(page.CommitPage());
        EXPECT_EQ(TakeMessages(),
                  QStringList{QStringLiteral("Create New file or Open Existing File to proceed..")});
    }
    // A refused commit keeps what was typed.
    EXPECT_EQ(title->text(), QStringLiteral("Title"));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(GenView, missingGeneralSectionIsMadeOnceAtTheEndAndThenUpdated)
{
    StartOn("[MISC]\r\nBIOSSTR=B\r\n\r\n[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\n");
    EXPECT_TRUE(Title()->text().isEmpty() && Description()->toPlainText().isEmpty() &&
                Logo()->text().isEmpty());
    QTest::keyClicks(Title(), QStringLiteral("Menu"));
    QTest::keyClicks(Description(), QStringLiteral("Line"));
    QTest::keyClick(Description(), Qt::Key_Return);
    QTest::keyClicks(Description(), QStringLiteral("two"));

    for (const char* more : {"", " again"}) {
        SCOPED_TRACE(more);
        QTest::keyClicks(Title(), QString::fromLatin1(more));
        ASSERT_TRUE(Frame()->ValidateCurrentPage());
        EXPECT_EQ(vltest::CountSections(Doc()->m_pRing), 3);
        const vl::SectionNode* last = vl::LastSection(Doc()->m_pRing);
        EXPECT_EQ(last, General());
        EXPECT_EQ(last->title, "Menu" + std::string(more));
        EXPECT_EQ(last->description, std::optional<std::string>("Line\r\ntwo"));
        EXPECT_EQ(last->path, std::optional<std::string>("")); // empty, not none
    }
}

TEST_F(GenView, lowerCaseGeneralSectionIsFoundAndUpdated)
{
    StartOn(ConfigWithGeneral("Low", "desc", "", "general"));
    EXPECT_EQ(Title()->text(), QStringLiteral("Low"));
    QTest::keyClicks(Title(), QStringLiteral("er"));
    ASSERT_TRUE(Frame()->ValidateCurrentPage());
    EXPECT_EQ(vltest::CountSections(Doc()->m_pRing), 2);
    ASSERT_NE(General(), nullptr);
    EXPECT_EQ(General()->name, "general");
    EXPECT_EQ(General()->title, "Lower");
}

TEST_F(GenView, onlyTheUsersTypingMarksTheDocumentModified)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Doc()->IsModified());
    StartOn(ConfigWithGeneral("Title", "Text", "LOGO.PCX"));
    EXPECT_EQ(Logo()->text(), QStringLiteral("LOGO.PCX"));
    for (QWidget* field : {static_cast<QWidget*>(Title()), static_cast<QWidget*>(Description()),
                           static_cast<QWidget*>(Logo())}) {
        SCOPED_TRACE(field->objectName().toStdString());
        Doc()->SetModifiedFlag(false);
        QTest::keyClicks(field, QStringLiteral("x"));
        EXPECT_TRUE(Doc()->IsModified());
    }
    // A refused commit leaves the mark.
    Title()->selectAll();
    QTest::keyClick(Title(), Qt::Key_Delete);
    EXPECT_FALSE(Frame()->ValidateCurrentPage());
    EXPECT_EQ(TakeMessages(), QStringList{kTitleMessage});
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(GenView, eachFieldShowsItsPromptWhileItHasTheFocus)
{
    ASSERT_TRUE(Start());
    const std::pair<QWidget*, QString> cases[] = {
        {Title(), QStringLiteral("Enter a title of less than 18 characters.")},
        {Description(), QStringLiteral("Enter a description of less than 240 characters.")},
        {Logo(), QStringLiteral("Enter the path/filename for company logo.")},
    };
    for (const auto& [field, prompt] : cases) {
        SCOPED_TRACE(prompt.toStdString());
        Control<QPushButton>("browseButton")->setFocus();
        vltest::ProcessEvents();
        EXPECT_EQ(Frame()->StatusText(), QString());
        field->setFocus();
        vltest::ProcessEvents();
        ASSERT_TRUE(field->hasFocus());
        EXPECT_EQ(Frame()->StatusText(), prompt);
    }
}

TEST_F(GenView, enterInTheTitlePressesNext)
{
    ASSERT_TRUE(Start());
    Title()->clear();
    QTest::keyClick(Title(), Qt::Key_Return);
    EXPECT_EQ(TakeMessages(), QStringList{kTitleMessage});
    EXPECT_EQ(Frame()->CurrentPageId(), vl::kGeneralPageId);

    QTest::keyClicks(Title(), QStringLiteral("Rescue"));
    QTest::keyClick(Title(), Qt::Key_Return);
    EXPECT_TRUE(TakeMessages().isEmpty());
    EXPECT_EQ(Frame()->CurrentPageId(), vl::kProductPageId);
    EXPECT_EQ(General()->title, "Rescue");
}

} // namespace
