// The main window's pages: which commands each page enables, switching between pages, the window's
// fixed size and the Miscellaneous page's fit, and the status bar's prompts.
#include "FrameFixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QToolBar>
#include <array>

using namespace vl;
using vltest::FrameTest;

namespace
{

// Commands and their state on the General, Product and Miscellaneous pages.
using PageStates = std::pair<std::vector<int>, std::array<bool, 3>>;

const PageStates kEnabled[] = {
    {{cmd::kEditUndo, cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste}, {true, true, false}},
    {{cmd::kEditAdd, cmd::kEditRemove, cmd::kEditRename, cmd::kMoveUp, cmd::kMoveDown}, {false, true, false}},
    {{cmd::kViewMisc}, {false, false, false}},
    {{cmd::kViewGeneral, cmd::kViewProduct, cmd::kViewToolbar, cmd::kViewStatusBar, cmd::kFileNew,
      cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kPreview, cmd::kAppExit, cmd::kHelpContents,
      cmd::kAppAbout},
     {true, true, true}},
};

// Opens a menu of the bar with the pointer; none when it does not show.
QMenu* OpenMenu(QMenuBar* bar, int index)
{
    QAction* title = bar->actions().at(index);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
    return QTest::qWaitForWindowExposed(title->menu()) ? title->menu() : nullptr;
}

} // namespace

TEST_F(FrameTest, Enabling_CommandsFollowThePageOnShowAndAreAskedAgainWhenAMenuOpens)
{
    const int pages[] = {kGeneralPageId, kProductPageId, kMiscPageId};
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(pages[p]);
        m_frame->SwitchPage(pages[p]);
        ASSERT_EQ(m_frame->CurrentPageId(), pages[p]);
        m_frame->UpdateCommands();
        for (const auto& [ids, on] : kEnabled) {
            for (const int id : ids) {
                EXPECT_EQ(Action(id)->isEnabled(), on[p]) << id;
                // The toolbar's buttons follow their commands.
                if (QWidget* button = m_frame->ToolBar()->widgetForAction(Action(id))) {
                    EXPECT_EQ(button->isEnabled(), on[p]) << id;
                }
            }
        }
        // The View menu checks the page on show; Miscellaneous is never checked.
        EXPECT_EQ(Action(cmd::kViewGeneral)->isChecked(), p == 0);
        EXPECT_EQ(Action(cmd::kViewProduct)->isChecked(), p == 1);
        EXPECT_FALSE(Action(cmd::kViewMisc)->isChecked());
    }

    ShowActive();
    m_frame->SwitchPage(kProductPageId);
    ASSERT_TRUE(Action(cmd::kEditRename)->isEnabled());
    Page(kProductPageId)->m_disabled = {cmd::kEditRename};
    QMenu* edit = OpenMenu(m_frame->menuBar(), 1);
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(Action(cmd::kEditRename)->isEnabled());
    EXPECT_TRUE(Action(cmd::kEditRemove)->isEnabled());
    edit->close();
    // A disabled command does not run, even when its key reaches the window.
    Page(kProductPageId)->m_button->setFocus();
    QTest::keyClick(Page(kProductPageId)->m_button, Qt::Key_F2);
    EXPECT_TRUE(m_ran.empty());
}

TEST_F(FrameTest, Switching_RefusedCommitKeepsEverything)
{
    // Each row: the page on show refuses, then the move is tried; the frame adds no message of its own.
    const std::pair<int, int> moves[] = {{kGeneralPageId, kProductPageId},
                                         {kProductPageId, kGeneralPageId},
                                         {kProductPageId, kMiscPageId},
                                         {kGeneralPageId, kGeneralPageId}};
    for (const auto& [from, to] : moves) {
        SCOPED_TRACE(testing::Message() << from << " to " << to);
        m_frame->SwitchPage(from);
        vltest::TestPage* page = Page(from);
        ASSERT_EQ(m_frame->CurrentPage(), page);
        page->m_accept = false;
        const int commits = page->m_commits;
        const size_t made = m_made.size();

        m_frame->SwitchPage(to);

        EXPECT_EQ(page->m_commits, commits + 1);
        EXPECT_EQ(m_frame->CurrentPage(), page);
        EXPECT_EQ(m_made.size(), made) << "no page is made for a refused move";
        EXPECT_EQ(Action(cmd::kViewGeneral)->isChecked(), from == kGeneralPageId);
        EXPECT_EQ(Action(cmd::kViewProduct)->isChecked(), from == kProductPageId);
        EXPECT_FALSE(m_frame->ValidateCurrentPage());
        page->m_accept = true;
    }
}

// View General on the General page only validates it. Then Product, Misc, Back, General, Misc: every
// page is made once and comes back as it was left.
TEST_F(FrameTest, Switching_PagesComeBackAsTheyWereLeft)
{
    auto* general = Page(kGeneralPageId);
    ASSERT_NE(general, nullptr);
    Action(cmd::kViewGeneral)->trigger();
    EXPECT_EQ(general->m_commits, 1);
    EXPECT_EQ(m_frame->CurrentPage(), general);
    EXPECT_EQ(m_made, std::vector<int>{kGeneralPageId});

    Action(cmd::kViewProduct)->trigger();
    auto* product = Page(kProductPageId);
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(m_frame->CurrentPage(), product);
    EXPECT_EQ(general->m_commits, 2);
    product->m_field->setText(QStringLiteral("left as it was"));

    m_frame->SwitchPage(kMiscPageId);
    auto* misc = qobject_cast<CVLMiscView*>(m_frame->CurrentPage());
    ASSERT_NE(misc, nullptr);
    EXPECT_TRUE(m_frame->ValidateCurrentPage()) << "the Miscellaneous page always agrees";
    auto* back = misc->findChild<QPushButton*>(QStringLiteral("backButton"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->text(), QStringLiteral("< &Back"));
    back->click();
    EXPECT_EQ(m_frame->CurrentPage(), product);
    EXPECT_EQ(product->m_field->text(), QStringLiteral("left as it was"));

    m_frame->SwitchPage(kGeneralPageId);
    EXPECT_EQ(m_frame->CurrentPage(), general);
    m_frame->SwitchPage(kMiscPageId);
    EXPECT_EQ(m_frame->CurrentPage(), misc);
    EXPECT_EQ(product->m_commits, 2);
    EXPECT_EQ(m_made, (std::vector<int>{kGeneralPageId, kProductPageId, kMiscPageId}));
}

TEST_F(FrameTest, Switching_UnknownPageShowsMiscThenViewNotFound)
{
    m_frame->SwitchPage(555);
    EXPECT_NE(qobject_cast<CVLMiscView*>(m_frame->CurrentPage()), nullptr);
    EXPECT_EQ(m_frame->CurrentPageId(), 555);
    EXPECT_FALSE(Action(cmd::kViewGeneral)->isChecked() || Action(cmd::kViewProduct)->isChecked());

    // Neither a move nor a save can leave a page the frame does not know.
    Action(cmd::kViewGeneral)->trigger();
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("View Not Found")});
    EXPECT_EQ(m_frame->CurrentPageId(), 555);
    EXPECT_FALSE(m_frame->ValidateCurrentPage());
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("View Not Found")});
    EXPECT_EQ(Page(kGeneralPageId)->m_commits, 1) << "only the move to 555 asked the General page";
}

// The window has a fixed size and no maximize button. The Miscellaneous page fits the window to its
// layout, shrinking only: with the toolbar at the left the client area is narrower than the page, and
// the window keeps its width.
TEST_F(FrameTest, Window_FixedSizeAndTheMiscPagesFitShrinksItButNeverGrowsIt)
{
    const Qt::WindowFlags buttons =
        Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint;
    EXPECT_EQ((m_frame->windowFlags() & buttons).toInt(),
              (Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint).toInt());
    EXPECT_EQ(m_frame->size(), QSize(585, 370));
    for (const Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::LeftToolBarArea}) {
        SCOPED_TRACE(area);
        MakeFrame();
        m_frame->addToolBar(area, m_frame->ToolBar());
        ShowActive();
        m_frame->ApplyFixedSize(); // as start-up does once the window has its frame
        ASSERT_EQ(m_frame->frameGeometry().size(), QSize(585, 370));
        auto* stack = m_frame->findChild<QStackedWidget*>(QStringLiteral("pageStack"));
        ASSERT_NE(stack, nullptr);
        const QSize frameBefore = m_frame->size();
        const QSize stackBefore = stack->size();
        ASSERT_GT(stackBefore.height(), kPageLayoutHeight);
        ASSERT_EQ(stackBefore.width() > kPageLayoutWidth, area == Qt::TopToolBarArea);

        m_frame->SwitchPage(kMiscPageId);
        QApplication::processEvents();
        const QSize expectedStack(std::min(stackBefore.width(), kPageLayoutWidth), kPageLayoutHeight);
        EXPECT_EQ(stack->size(), expectedStack);
        EXPECT_EQ(m_frame->size(), frameBefore - (stackBefore - expectedStack));
        EXPECT_EQ(m_frame->minimumSize(), m_frame->maximumSize());

        // Fitting again, as after a new configuration, changes nothing.
        m_frame->InitialUpdateAllPages();
        QApplication::processEvents();
        EXPECT_EQ(stack->size(), expectedStack);
    }
}

TEST_F(FrameTest, StatusBar_ReadyAndThePromptsOfPagesMenusAndToolbar)
{
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    const QString prompt = QStringLiteral("Enter a title of less than 18 characters.");
    m_frame->SetStatusPrompt(prompt);
    EXPECT_EQ(m_frame->StatusText(), prompt);
    // A field losing the focus clears the line; the idle text comes back with the next empty tip.
    m_frame->SetStatusPrompt(QString());
    EXPECT_EQ(m_frame->StatusText(), QString());
    QStatusTipEvent idle{QString()};
    QApplication::sendEvent(m_frame.get(), &idle);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));

    ShowActive();
    m_frame->SwitchPage(kProductPageId); // where Add is enabled: a grayed item cannot be selected
    // A menu's index, an item of it and the item's prompt.
    const std::tuple<int, int, const char*> items[] = {
        {0, cmd::kFileSave, "Save the active document."},
        {1, cmd::kEditAdd, "Add new item to the product list."},
        {3, cmd::kAppAbout, "Display program information, version number and copyright."}};
    for (const auto& [menuIndex, id, prompt] : items) {
        SCOPED_TRACE(prompt);
        QMenu* menu = OpenMenu(m_frame->menuBar(), menuIndex);
        ASSERT_NE(menu, nullptr);
        QTest::mouseMove(menu, menu->actionGeometry(Action(id)).center());
        EXPECT_EQ(m_frame->StatusText(), QLatin1String(prompt));
        menu->close();
        EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    }
    QWidget* save = m_frame->ToolBar()->widgetForAction(Action(cmd::kFileSave));
    QTest::mouseMove(save, save->rect().center());
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Save the active document."));
    QTest::mouseMove(Page(kProductPageId)->m_field);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
}
