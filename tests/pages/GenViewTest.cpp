// The General page driven through its controls: typing limits, the modified flag, the commit's checks
// and messages, and the general section it makes or updates.
#include "app/AppFixture.h"

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
        ASSERT_TRUE(Start({WriteFile(QStringLiteral("GEN.ini"), config)}));
        ASSERT_FALSE(Doc()->IsModified());
    }
    QLineEdit* Title() const { return Control<QLineEdit>("titleEdit"); }
    QPlainTextEdit* Description() const { return Control<QPlainTextEdit>("descriptionEdit"); }
    QLineEdit* Logo() const { return Control<QLineEdit>("logoPathEdit"); }
    const vl::SectionNode* General() const { return vltest::GeneralOf(Doc()->m_pRing); }
};

// Types text one key at a time, a "\n" as the Enter key; unlike QTest::keyClicks it takes characters
// beyond Latin-1.
void Type(QWidget* field, const QString& text)
{
    for (QChar ch : text) {
        if (ch == QLatin1Char('\n'))
            QTest::keyClick(field, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key(ch.toUpper().unicode()), QString(ch), {});
    }
}

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

    const QString a237(237, QLatin1Char('a'));
    const QString a238(238, QLatin1Char('a'));
    const std::tuple<QString, QString, QString> cases[] = {
        // typed first, then pasted, the text afterwards
        {a237 + QStringLiteral("\nb"), QString(), a237 + QStringLiteral("\n")},
        {a238 + QStringLiteral("\nb"), QString(), a238 + QStringLiteral("b")},
        {QString(), QString(300, QLatin1Char('p')), QString(239, QLatin1Char('p'))},
        {QString(), a237 + QStringLiteral("\nyy"), a237 + QStringLiteral("\n")},
        {QStringLiteral("abc"), QString(250, QLatin1Char('p')),
         QStringLiteral("abc") + QString(236, QLatin1Char('p'))},
    };
    for (const auto& [typed, pasted, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        Description()->clear();
        Type(Description(), typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            Description()->paste();
        }
        EXPECT_EQ(Description()->toPlainText(), expected);
        if (!pasted.isEmpty()) {
            Description()->undo(); // one Undo takes back the paste and its trim together
            EXPECT_EQ(Description()->toPlainText(), typed);
        }
    }
}

// Loading marks nothing; a refused keystroke changes nothing and marks nothing; every accepted one
// marks the document, and a refused commit leaves the mark. "€" is in Windows-1252, "Ā" is not.
TEST_F(GenView, onlyTheUsersAcceptedTypingMarksTheDocumentModified)
{
    StartOn(ConfigWithGeneral(QByteArray(18, 'T'), QByteArray(237, 'd') + "\r\r", "LOGO.PCX"));
    const auto contents = [this] {
        return QStringList{Title()->text(), Description()->toPlainText(), Logo()->text()};
    };
    const QStringList full = contents();
    const QString x = QStringLiteral("x"), outside = QStringLiteral("\u0100");
    const std::pair<QWidget*, QString> refused[] = {
        {Title(), x}, {Description(), x}, {Title(), outside}, {Description(), outside}, {Logo(), outside}};
    for (const auto& [field, keys] : refused) {
        SCOPED_TRACE(field->objectName().toStdString());
        Type(field, keys);
        EXPECT_EQ(contents(), full);
        EXPECT_FALSE(Doc()->IsModified());
    }
    // Around a refused character the others are taken.
    for (QWidget* field : {static_cast<QWidget*>(Title()), static_cast<QWidget*>(Description()),
                           static_cast<QWidget*>(Logo())}) {
        SCOPED_TRACE(field->objectName().toStdString());
        Doc()->SetModifiedFlag(false);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        Type(field, QStringLiteral("\u20ac\u0100x"));
        EXPECT_TRUE(Doc()->IsModified());
    }
    EXPECT_EQ(contents(), QStringList(3, QStringLiteral("\u20acx")));

    Title()->selectAll();
    QTest::keyClick(Title(), Qt::Key_Delete);
    EXPECT_FALSE(Frame()->ValidateCurrentPage());
    EXPECT_EQ(TakeMessages(), QStringList{kTitleMessage});
    EXPECT_TRUE(Doc()->IsModified());
}

// Next, or Enter in the title, commits the page: the configuration is checked first, then the title,
// then the description.
TEST_F(GenView, commitChecksTheConfigurationTheTitleThenTheDescription)
{
    const QByteArray a237(237, 'a');
    // The title and description as in the file ("\r\r" is a line break), the message (empty: the page
    // commits and the Product page shows), and whether Enter in the title is pressed instead of Next.
    const std::tuple<QByteArray, QByteArray, QString, bool> cases[] = {
        {QByteArray(18, 'T'), "d", {}, false},
        {QByteArray(19, 'T'), "d", kTitleMessage, false},
        {"", "d", kTitleMessage, true},
        {"", "", kTitleMessage, false},
        {"t", QByteArray(239, 'd'), {}, true},
        {"t", QByteArray(200, 'd'), {}, false},
        {"t", QByteArray(240, 'd'), kDescriptionMessage, false},
        {"t", a237 + "\r\r", {}, false},
        {"t", a237 + "a\r\r", kDescriptionMessage, true},
        {"t", "\r\r", {}, true},
        {"t", "", kDescriptionMessage, false},
    };
    for (const auto& [title, description, message, enter] : cases) {
        SCOPED_TRACE(testing::Message() << title.size() << " and " << description.size() << " bytes");
        StartOn(ConfigWithGeneral(title, description, "LOGO.PCX"));
        ASSERT_EQ(Title()->text(), QLatin1String(title)); // loaded uncut
        if (enter)
            QTest::keyClick(Title(), Qt::Key_Return);
        else
            Control<QPushButton>("nextButton")->click();
        EXPECT_EQ(TakeMessages(), message.isEmpty() ? QStringList() : QStringList{message});
        EXPECT_EQ(Frame()->CurrentPageId(), message.isEmpty() ? vl::kProductPageId : vl::kGeneralPageId);
        EXPECT_FALSE(Doc()->IsModified()); // neither loading nor committing marks it
    }
    // Without a configuration every commit is refused, whatever the fields hold.
    ASSERT_EQ(Frame()->CurrentPageId(), vl::kGeneralPageId);
    Doc()->OnCloseDocument();
    Frame()->InitialUpdateAllPages();
    for (const char* text : {"Valid", ""}) {
        Title()->setText(QLatin1String(text));
        Description()->setPlainText(QLatin1String(text));
        EXPECT_FALSE(Frame()->ValidateCurrentPage());
        EXPECT_EQ(TakeMessages(),
                  QStringList{QStringLiteral("Create New file or Open Existing File to proceed..")});
    }
}

TEST_F(GenView, generalSectionIsMadeOnceAtTheEndThenUpdatedOrFoundInLowerCase)
{
    StartOn("[MISC]\r\nBIOSSTR=B\r\n\r\n[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\n");
    EXPECT_EQ(Title()->text() + Description()->toPlainText() + Logo()->text(), QString());
    Type(Description(), QStringLiteral("Line\ntwo"));
    std::string title;
    for (const char* more : {"Menu", " again"}) {
        SCOPED_TRACE(more);
        QTest::keyClicks(Title(), QLatin1String(more));
        title += more;
        ASSERT_TRUE(Frame()->ValidateCurrentPage());
        EXPECT_EQ(vltest::CountSections(Doc()->m_pRing), 3);
        EXPECT_EQ(vl::LastSection(Doc()->m_pRing), General());
        EXPECT_EQ(General()->title, title);
        EXPECT_EQ(General()->description, std::optional<std::string>("Line\r\ntwo"));
        EXPECT_EQ(General()->path, std::optional<std::string>("")); // empty, not none
    }

    StartOn(ConfigWithGeneral("Low", "desc", "", "general"));
    EXPECT_EQ(Title()->text(), QStringLiteral("Low"));
    QTest::keyClicks(Title(), QStringLiteral("er"));
    ASSERT_TRUE(Frame()->ValidateCurrentPage());
    EXPECT_EQ(vltest::CountSections(Doc()->m_pRing), 2);
    ASSERT_NE(General(), nullptr);
    EXPECT_EQ(General()->name, "general");
    EXPECT_EQ(General()->title, "Lower");
}

} // namespace
