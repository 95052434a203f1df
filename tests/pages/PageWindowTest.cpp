// The pages as the mouse and the keyboard meet them: every control reachable, typing limits, pastes
// into one-line fields and their Undo, descriptions that never scroll, Enter on buttons.
#include "PageDriver.h"

#include "model/Rules.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QScrollBar>

namespace vltest
{
namespace
{

using PageWindow = PageDriver;

TEST_F(PageWindow, theMouseReachesEveryVisibleEnabledControlOfEveryPage)
{
    OpenFile(ValidConfig());
    ToProduct();
    ClickItem(Entry(0, 0)); // the fields are enabled for an entry
    for (int id : {vl::kProductPageId, vl::kGeneralPageId, vl::kMiscPageId}) {
        if (id != vl::kProductPageId)
            Frame()->SwitchPage(id);
        int seen = 0;
        for (QWidget* w : Frame()->FindPage(id)->findChildren<QWidget*>()) {
            auto* area = qobject_cast<QAbstractScrollArea*>(w);
            if (!w->isVisible() || !w->isEnabled() ||
                !(area || qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w)))
                continue;
            ++seen;
            const QWidget* top = Frame()->childAt(w->mapTo(Frame(), w->rect().center()));
            EXPECT_TRUE(top == w || (area && top == area->viewport()))
                << w->objectName().toStdString() << " lies under " << top->objectName().toStdString();
        }
        EXPECT_GT(seen, 0) << id;
    }
}

// Each limited field, typed into past its limit, holds the shared rule's number of bytes.
TEST_F(PageWindow, typingStopsAtTheSharedLimits)
{
    OpenFile(ValidConfig());
    const std::pair<const char*, std::size_t> general[] = {{"titleEdit", vl::rules::kGeneralTitleLimit},
                                                           {"descriptionEdit", vl::rules::kGeneralDescriptionLimit}};
    const std::pair<const char*, std::size_t> product[] = {
        {"titleEdit", vl::rules::kEntryTitleTypingLimit},
        {"descriptionEdit", vl::rules::kEntryDescriptionTypingLimit}};
    for (const auto* table : {general, product}) {
        if (table == product) {
            ToProduct();
            ClickItem(Entry(0, 0));
        }
        for (int i = 0; i < 2; ++i) {
            const auto [name, limit] = table[i];
            Click(On(table == general ? vl::kGeneralPageId : vl::kProductPageId, name));
            Key(Qt::Key_A, Qt::ControlModifier);
            Keys(QString(static_cast<qsizetype>(limit) + 3, u'i'));
            const auto* line = qobject_cast<QLineEdit*>(Focus());
            const QString text = line ? line->text() : qobject_cast<QPlainTextEdit*>(Focus())->toPlainText();
            EXPECT_EQ(text.size(), static_cast<qsizetype>(limit)) << name;
        }
    }
}

// A paste keeps what comes before its first line break and what fits the byte limit; Ctrl+Z,
// Alt+Backspace and Edit > Undo each take it back, also when it was shortened.
TEST_F(PageWindow, oneLineFieldsTakeAPasteUpToItsFirstLineBreakAndUndoIt)
{
    OpenFile(ValidConfig());
    const QString longText(70, u'w');
    struct Field {
        int page;
        const char* name;
        qsizetype limit; // 0: none
    } const fields[] = {{vl::kGeneralPageId, "titleEdit", 18},
                        {vl::kGeneralPageId, "logoPathEdit", 0},
                        {vl::kProductPageId, "titleEdit", 50},
                        {vl::kProductPageId, "pathEdit", 0},
                        {vl::kProductPageId, "labelEdit", 0}};
    int undoWay = 0;
    for (const Field& f : fields) {
        if (f.page == vl::kProductPageId && !ProdPage()) {
            ToProduct();
            ClickItem(Entry(0, 0));
        }
        if (f.name == std::string("labelEdit")) {
            ClickItem(Model()->index(0, 0));
            Command(vl::cmd::kEditAdd);
        } else {
            Click(On(f.page, f.name));
        }
        auto* edit = qobject_cast<QLineEdit*>(Focus());
        ASSERT_NE(edit, nullptr) << f.name;
        const QString before = edit->text();
        for (const QString& pasted : {QStringLiteral("AB\nCD"), QStringLiteral("AB\rCD"), longText}) {
            Key(Qt::Key_A, Qt::ControlModifier);
            QGuiApplication::clipboard()->setText(pasted);
            Key(Qt::Key_V, Qt::ControlModifier);
            const QString expected = pasted == longText ? (f.limit ? longText.left(f.limit) : longText) : QStringLiteral("AB");
            EXPECT_EQ(edit->text(), expected) << f.name;
            switch (undoWay++ % 3) {
            case 0:
                Key(Qt::Key_Z, Qt::ControlModifier);
                break;
            case 1:
                Key(Qt::Key_Backspace, Qt::AltModifier);
                break;
            default:
                Command(vl::cmd::kEditUndo);
            }
            EXPECT_EQ(edit->text(), before) << f.name << " after undo " << (undoWay - 1) % 3;
        }
    }
    Key(Qt::Key_Escape); // the label edit of the Add ends without an entry
}

// Lines typed or pasted beyond what the box shows are refused; the box never scrolls.
TEST_F(PageWindow, descriptionsNeverHoldMoreLinesThanTheyShow)
{
    OpenFile(ValidConfig());
    auto* general = Gen<QPlainTextEdit>("descriptionEdit");
    Click(general);
    for (int i = 0; i < 12; ++i) {
        Keys(QStringLiteral("line"));
        Key(Qt::Key_Return);
    }
    EXPECT_EQ(general->verticalScrollBar()->maximum(), 0);
    EXPECT_LT(general->blockCount(), 12);
    ToProduct();
    ClickItem(Entry(0, 0));
    auto* product = Prod<QPlainTextEdit>("descriptionEdit");
    Click(product);
    const QString lines = QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12");
    QGuiApplication::clipboard()->setText(lines);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(product->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(lines.startsWith(product->toPlainText().left(4))) << product->toPlainText().toStdString();
    EXPECT_LT(product->blockCount(), 12);
}

// On the General page Enter presses the focused button; the Product page takes Enter for its tree.
TEST_F(PageWindow, enterPressesTheFocusedButtonOnTheGeneralPageOnly)
{
    OpenFile(ValidConfig());
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
    EXPECT_TRUE(TakeDialogs().isEmpty());
}

} // namespace
} // namespace vltest
