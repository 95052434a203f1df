// The pages as the mouse and the keyboard meet them: every control reachable, pastes and their Undo,
// descriptions that never scroll, Enter on buttons, the General page's checks.
#include "PageDriver.h"

#include <QAbstractButton>
#include <QScrollBar>

namespace vltest
{
namespace
{

using PageWindow = PageDriver;
const QString kLeftOut = QStringLiteral("Characters that the configuration file cannot hold were left out.");

TEST_F(PageWindow, theMouseReachesEveryVisibleEnabledControlOfEveryPage)
{
    OpenFile(kValidConfig);
    ToProduct();
    ClickItem(Entry(0, 0)); // the fields are enabled for an entry
    for (int id : {vl::kProductPageId, vl::kGeneralPageId, vl::kMiscPageId}) {
        Frame()->SwitchPage(id);
        for (QWidget* w : Frame()->FindPage(id)->findChildren<QWidget*>()) {
            auto* area = qobject_cast<QAbstractScrollArea*>(w);
            if (!w->isVisible() || !w->isEnabled() ||
                !(area || qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w)))
                continue;
            const QWidget* top = Frame()->childAt(w->mapTo(Frame(), w->rect().center()));
            EXPECT_TRUE(top == w || (area && top == area->viewport()))
                << w->objectName().toStdString() << " lies under " << top->objectName().toStdString();
        }
    }
}

// A paste keeps what comes before its first line break, what fits the byte limit and what Windows-1252
// holds (the prompt line says what was left out), also when it starts as the text it replaces; Ctrl+Z,
// Alt+Backspace and Edit > Undo each take it back.
TEST_F(PageWindow, oneLineFieldsTakeAPasteUpToItsFirstLineBreakAndUndoIt)
{
    OpenFile(kValidConfig);
    const QString longText(70, u'w');
    const std::tuple<int, const char*, std::size_t> fields[] = {{vl::kGeneralPageId, "titleEdit", 18},
                                                                {vl::kGeneralPageId, "logoPathEdit", 70},
                                                                {vl::kProductPageId, "titleEdit", 50},
                                                                {vl::kProductPageId, "pathEdit", 70},
                                                                {vl::kProductPageId, "labelEdit", 70}};
    int undoWay = 0;
    for (const auto& [page, name, limit] : fields) {
        if (page == vl::kProductPageId && !ProdPage()) {
            ToProduct();
            ClickItem(Entry(0, 0));
        }
        if (name == std::string("labelEdit")) {
            ClickItem(Model()->index(0, 0));
            Frame()->Action(vl::cmd::kEditAdd)->trigger();
        } else {
            Click(Control<QWidget>(name, page));
        }
        auto* edit = qobject_cast<QLineEdit*>(Focus());
        ASSERT_NE(edit, nullptr) << name;
        const QString before = edit->text();
        const std::pair<QString, QString> pastes[] = {
            {QStringLiteral("AB\nCD"), QStringLiteral("AB")},
            {before.left(2) + QStringLiteral("\rCD"), before.left(2)},
            {longText, longText.left(qsizetype(limit))},
            {QStringLiteral("Aü€B→C"), QStringLiteral("Aü€BC")}};
        for (const auto& [pasted, kept] : pastes) {
            Paste(pasted);
            EXPECT_EQ(edit->text(), kept) << name;
            EXPECT_EQ(Frame()->StatusText() == kLeftOut, pasted.contains(u'→')) << name;
            const int way = undoWay++ % 3;
            if (way == 2)
                Frame()->Action(vl::cmd::kEditUndo)->trigger();
            else
                Key(way ? Qt::Key_Backspace : Qt::Key_Z, way ? Qt::AltModifier : Qt::ControlModifier);
            EXPECT_EQ(edit->text(), before) << name << " after undo " << way;
        }
    }
}

// Typing or pasting stops at the byte limit and at the lines the box shows: it never scrolls.
TEST_F(PageWindow, descriptionsStopAtTheirLimitAndNeverScroll)
{
    OpenFile(kValidConfig);
    auto* general = Gen<QPlainTextEdit>("descriptionEdit");
    Click(general);
    for (int i = 0; i < 12; ++i) {
        QTest::keyClicks(Focus(), QStringLiteral("line"));
        Key(Qt::Key_Return);
    }
    EXPECT_EQ(general->verticalScrollBar()->maximum(), 0);
    Paste(QString(300, u'i'));
    EXPECT_EQ(general->toPlainText().size(), 239);
    Paste(QStringLiteral("Aü€B→\nC"));
    EXPECT_EQ(general->toPlainText(), QStringLiteral("Aü€B\nC"));
    EXPECT_EQ(Frame()->StatusText(), kLeftOut);
    ToProduct();
    ClickItem(Entry(0, 0));
    auto* product = Prod<QPlainTextEdit>("descriptionEdit");
    Click(product);
    const QString lines = QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12");
    Paste(lines);
    EXPECT_EQ(product->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(lines.startsWith(product->toPlainText()) && product->blockCount() < 12);
    Paste(QString(300, u'i'));
    EXPECT_EQ(product->toPlainText().size(), 180);
    Paste(QStringLiteral("Aü€B→C"));
    EXPECT_TRUE(product->toPlainText() == QStringLiteral("Aü€BC") && Frame()->StatusText() == kLeftOut);
}

// On the General page Enter presses the focused button; the Product page takes Enter for its tree.
TEST_F(PageWindow, enterPressesTheFocusedButtonOnTheGeneralPageOnly)
{
    OpenFile(kValidConfig);
    Click(Gen("logoPathEdit"));
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), Gen("browseButton"));
    AnswerDialog(std::nullopt);
    Key(Qt::Key_Return);
    EXPECT_EQ(TakeDialogs().size(), 1);
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), Gen("nextButton"));
    Key(Qt::Key_Enter);
    ASSERT_TRUE(ProdPage() && ProdPage()->isVisible());
    ClickItem(Entry(0, 0));
    Click(Prod("pathEdit"));
    for (const char* button : {"browseButton", "backButton"}) {
        Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), Prod(button));
        Key(Qt::Key_Return);
    }
    EXPECT_TRUE(ProdPage()->isVisible());
}

// The page goes on only past its checks, into the general section (made last when the file lacks it).
TEST_F(PageWindow, theGeneralPageStoresOnlyWhatTheSharedChecksPass)
{
    const QByteArray entry = Section("Tools", kHeading);
    const QString title19 = QStringLiteral("Please enter the title less than 19 characters");
    const QString description180 = QStringLiteral("Please enter the description less than 180 characters");
    const struct {
        QByteArray title, description, name; // the general section's; no name: no general section
        QString refusal = {};
    } rows[] = {
        {.title = "", .description = "d", .name = "GENERAL", .refusal = title19},
        {.title = QByteArray(19, 't'), .description = "d", .name = "GENERAL", .refusal = title19},
        {.title = "t", .description = "", .name = "GENERAL", .refusal = description180},
        {.title = "t", .description = QByteArray(240, 'd'), .name = "GENERAL", .refusal = description180},
        {.title = QByteArray(18, 't'), .description = QByteArray(239, 'd'), .name = "general"},
        {.title = "t", .description = "d", .name = ""}};
    for (const auto& [title, description, name, refusal] : rows) {
        const QByteArray sectionName = name.isEmpty() ? "GENERAL" : name;
        const QByteArray general = Section(sectionName, sectionName, title, "L", description);
        OpenFile(name.isEmpty() ? entry : general + entry); // without one, it is made last
        if (name.isEmpty()) {
            const std::pair<const char*, QByteArray> typed[] = {
                {"logoPathEdit", "L"}, {"descriptionEdit", description}, {"titleEdit", title}};
            for (const auto& [field, text] : typed) {
                Click(Gen(field));
                Paste(QString::fromLatin1(text));
            }
            EXPECT_TRUE(Doc()->IsModified());
        }
        Click(Gen("titleEdit"));
        Key(Qt::Key_Return); // goes on to the Product page as Next does
        EXPECT_EQ(TakeMessages(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        if (refusal.isEmpty()) {
            EXPECT_EQ(SaveAndRead(), name.isEmpty() ? entry + general : general + entry);
            EXPECT_EQ(TakeMessages(), QStringList{kSavedInfo});
        }
    }
}

} // namespace
} // namespace vltest
