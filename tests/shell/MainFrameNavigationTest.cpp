// The main window's pages: which commands each page enables, switching between pages, the
// Miscellaneous page's fit, and the status bar's prompts.
#include "FrameFixture.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

using namespace vl;
using vltest::FrameTest;
using vltest::TestPage;

namespace
{

// A command's state on the General, Product and Miscellaneous pages.
struct PageStates {
    int id;
    bool general, product, misc;
};

const PageStates kEnabled[] = {
    {cmd::kEditUndo, true, true, false},    {cmd::kEditCut, true, true, false},
    {cmd::kEditCopy, true, true, false},    {cmd::kEditPaste, true, true, false},
    {cmd::kEditAdd, false, true, false},    {cmd::kEditRemove, false, true, false},
    {cmd::kEditRename, false, true, false}, {cmd::kMoveUp, false, true, false},
    {cmd::kMoveDown, false, true, false},   {cmd::kViewMisc, false, false, false},
    {cmd::kViewGeneral, true, true, true},  {cmd::kViewProduct, true, true, true},
    {cmd::kViewToolbar, true, true, true},  {cmd::kViewStatusBar, true, true, true},
    {cmd::kFileNew, true, true, true},      {cmd::kFileOpen, true, true, true},
    {cmd::kFileSave, true, true, true},     {cmd::kFileSaveAs, true, true, true},
    {cmd::kPreview, true, true, true},      {cmd::kAppExit, true, true, true},
    {cmd::kHelpContents, true, true, true}, {cmd::kAppAbout, true, true, true},
};

const PageStates kChecked[] = {
    {cmd::kViewGeneral, true, false, false},
    {cmd::kViewProduct, false, true, false},
    {cmd::kViewMisc, false, false, false},
};

} // namespace

TEST_F(FrameTest, Enabling_CommandsFollowThePageOnShow)
{
    for (const int pageId : {kGeneralPageId, kProductPageId, kMiscPageId}) {
        SCOPED_TRACE(pageId);
        m_frame->SwitchPage(pageId);
        ASSERT_EQ(m_frame->CurrentPageId(), pageId);
        m_frame->UpdateCommands();
        const auto on = [pageId](const PageStates& row) {
            return pageId == kGeneralPageId ? row.general : pageId == kProductPageId ? row.product : row.misc;
        };
        for (const PageStates& row : kEnabled) {
            SCOPED_TRACE(row.id);
            EXPECT_EQ(Action(row.id)->isEnabled(), on(row));
            // The toolbar's buttons follow their commands.
            if (QWidget* button = m_frame->ToolBar()->widgetForAction(Action(row.id))) {
                EXPECT_EQ(button->isEnabled(), on(row));
            }
        }
        for (const PageStates& row : kChecked) {
            SCOPED_TRACE(row.id);
            EXPECT_EQ(Action(row.id)->isChecked(), on(row));
        }
    }
}

// The state is asked again whenever a menu opens, not only after a command or a page switch.
TEST_F(FrameTest, MenuOpening_AsksTheChainAgain)
{
    ShowActive();
    m_frame->SwitchPage(kProductPageId);
    ASSERT_TRUE(Action(cmd::kMoveUp)->isEnabled());
    Page(kProductPageId)->m_disabled = {cmd::kMoveUp, cmd::kEditRename};

    QMenuBar* bar = m_frame->menuBar();
    QAction* edit = bar->actions().at(1);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit->menu()));
    EXPECT_FALSE(Action(cmd::kMoveUp)->isEnabled());
    EXPECT_FALSE(Action(cmd::kEditRename)->isEnabled());
    EXPECT_TRUE(Action(cmd::kMoveDown)->isEnabled());
    EXPECT_FALSE(m_frame->ToolBar()->widgetForAction(Action(cmd::kMoveUp))->isEnabled());
    edit->menu()->close();

    // A disabled command does not run, even when its key reaches the window.
    Page(kProductPageId)->m_button->setFocus();
    QTest::keyClick(Page(kProductPageId)->m_button, Qt::Key_F2);
    EXPECT_TRUE(Page(kProductPageId)->m_executed.isEmpty());
}

TEST_F(FrameTest, Switching_RefusedCommitKeepsEverything)
{
    // Each row: the page on show refuses, then the move is tried.
    const std::pair<int, int> moves[] = {{kGeneralPageId, kProductPageId},
                                         {kProductPageId, kGeneralPageId},
                                         {kProductPageId, kMiscPageId},
                                         {kGeneralPageId, kGeneralPageId}};
    for (const auto& [from, to] : moves) {
        SCOPED_TRACE(QStringLiteral("%1 to %2").arg(from).arg(to).toStdString());
        if (m_frame->CurrentPageId() != from)
            m_frame->SwitchPage(from);
        TestPage* page = Page(from);
        ASSERT_EQ(m_frame->CurrentPage(), page);
        page->m_accept = false;
        const int commits = page->m_commits;
        const size_t made = m_made.size();

        m_frame->SwitchPage(to);

        EXPECT_EQ(page->m_commits, commits + 1);
        EXPECT_EQ(m_frame->CurrentPageId(), from);
        EXPECT_EQ(m_frame->CurrentPage(), page);
        EXPECT_EQ(m_made.size(), made) << "no page is made for a refused move";
        EXPECT_EQ(Action(cmd::kViewGeneral)->isChecked(), from == kGeneralPageId);
        EXPECT_EQ(Action(cmd::kViewProduct)->isChecked(), from == kProductPageId);
        EXPECT_FALSE(m_frame->ValidateCurrentPage());
        page->m_accept = true;
    }
    // The frame adds no message of its own to a page's refusal.
    EXPECT_TRUE(TakeMessages().isEmpty());
}

TEST_F(FrameTest, Switching_ViewGeneralOnGeneralOnlyValidates)
{
    TestPage* general = Page(kGeneralPageId);
    ASSERT_NE(general, nullptr);
    Action(cmd::kViewGeneral)->trigger();
    EXPECT_EQ(general->m_commits, 1);
    EXPECT_EQ(m_frame->CurrentPage(), general);
    EXPECT_TRUE(general->isVisibleTo(m_frame.get()));
    EXPECT_TRUE(Action(cmd::kViewGeneral)->isChecked());
    EXPECT_EQ(m_made, std::vector<int>{kGeneralPageId});
}

// General, Next (View Product here), Next to Misc, Back, Back: every page is made once and kept.
TEST_F(FrameTest, Switching_PagesComeBackAsTheyWereLeft)
{
    TestPage* general = Page(kGeneralPageId);
    Action(cmd::kViewProduct)->trigger();
    TestPage* product = Page(kProductPageId);
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(m_frame->CurrentPage(), product);
    EXPECT_EQ(general->m_commits, 1);
    EXPECT_TRUE(general->isHidden());
    product->m_field->setText(QStringLiteral("left as it was"));

    m_frame->SwitchPage(kMiscPageId);
    auto* misc = qobject_cast<CVLMiscView*>(m_frame->CurrentPage());
    ASSERT_NE(misc, nullptr);
    EXPECT_EQ(m_frame->CurrentPageId(), kMiscPageId);
    EXPECT_FALSE(Action(cmd::kViewGeneral)->isChecked());
    EXPECT_FALSE(Action(cmd::kViewProduct)->isChecked());
    EXPECT_TRUE(m_frame->ValidateCurrentPage()) << "the Miscellaneous page always agrees";

    auto* back = misc->findChild<QPushButton*>(QStringLiteral("backButton"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->text(), QStringLiteral("< &Back"));
    back->click();
    EXPECT_EQ(m_frame->CurrentPageId(), kProductPageId);
    EXPECT_EQ(m_frame->CurrentPage(), product);
    EXPECT_EQ(product->m_field->text(), QStringLiteral("left as it was"));
    EXPECT_TRUE(Action(cmd::kViewProduct)->isChecked());

    m_frame->SwitchPage(kGeneralPageId);
    EXPECT_EQ(m_frame->CurrentPage(), general);
    EXPECT_TRUE(Action(cmd::kViewGeneral)->isChecked());
    m_frame->SwitchPage(kMiscPageId);
    EXPECT_EQ(m_frame->CurrentPage(), misc);
    EXPECT_EQ(product->m_commits, 2);
    EXPECT_EQ(m_made, (std::vector<int>{kGeneralPageId, kProductPageId, kMiscPageId}));
}

TEST_F(FrameTest, Switching_UnknownPageShowsMiscThenViewNotFound)
{
    m_frame->SwitchPage(555);
    EXPECT_EQ(m_made.back(), 555);
    EXPECT_NE(qobject_cast<CVLMiscView*>(m_frame->CurrentPage()), nullptr);
    EXPECT_EQ(m_frame->CurrentPageId(), 555);
    EXPECT_FALSE(Action(cmd::kViewGeneral)->isChecked());
    EXPECT_FALSE(Action(cmd::kViewProduct)->isChecked());

    // Neither a move nor a save can leave a page the frame does not know.
    Action(cmd::kViewGeneral)->trigger();
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("View Not Found")});
    EXPECT_EQ(m_frame->CurrentPageId(), 555);
    EXPECT_FALSE(m_frame->ValidateCurrentPage());
    EXPECT_EQ(TakeMessages(), QStringList{QStringLiteral("View Not Found")});
    EXPECT_EQ(Page(kGeneralPageId)->m_commits, 1) << "only the move to 555 asked the General page";
}

// The Miscellaneous page fits the window to its layout, shrinking only: with the toolbar at the left
// the client area is narrower than the page, and the window keeps its width.
TEST_F(FrameTest, MiscPage_FitShrinksTheWindowButNeverGrowsIt)
{
    for (const Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::LeftToolBarArea}) {
        SCOPED_TRACE(area);
        MakeFrame();
        m_frame->addToolBar(area, m_frame->ToolBar());
        ShowActive();
        m_frame->ApplyFixedSize(); // as start-up does once the window has its frame
        auto* stack = m_frame->findChild<QStackedWidget*>(QStringLiteral("pageStack"));
        ASSERT_NE(stack, nullptr);
        const QSize frameBefore = m_frame->size();
        const QSize stackBefore = stack->size();
        ASSERT_EQ(m_frame->frameGeometry().size(), QSize(585, 370));
        ASSERT_GT(stackBefore.height(), kPageLayoutHeight);
        if (area == Qt::TopToolBarArea)
            ASSERT_GT(stackBefore.width(), kPageLayoutWidth);
        else
            ASSERT_LT(stackBefore.width(), kPageLayoutWidth);

        m_frame->SwitchPage(kMiscPageId);
        QApplication::processEvents();
        const QSize expectedStack(std::min(stackBefore.width(), kPageLayoutWidth), kPageLayoutHeight);
        EXPECT_EQ(stack->size(), expectedStack);
        EXPECT_EQ(m_frame->size(), frameBefore - (stackBefore - expectedStack));
        EXPECT_EQ(m_frame->minimumSize(), m_frame->maximumSize());

        // Fitting again, as after a new configuration, changes nothing.
        const QSize fitted = m_frame->size();
        m_frame->InitialUpdateAllPages();
        QApplication::processEvents();
        EXPECT_EQ(m_frame->size(), fitted);
        EXPECT_EQ(stack->size(), expectedStack);
    }
}

TEST_F(FrameTest, StatusBar_ReadyThenPagePrompts)
{
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    const QString prompt = QStringLiteral("Enter a title of less than 18 characters.");
    m_frame->SetStatusPrompt(prompt);
    auto* pane = m_frame->statusBar()->findChild<QLabel*>(QStringLiteral("messagePaneLabel"));
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->text(), prompt);
    // A field losing the focus clears the line; the idle text comes back with the next empty tip.
    m_frame->SetStatusPrompt(QString());
    EXPECT_EQ(pane->text(), QString());
    QStatusTipEvent idle{QString()};
    QApplication::sendEvent(m_frame.get(), &idle);
    EXPECT_EQ(pane->text(), QStringLiteral("Ready"));
}

TEST_F(FrameTest, StatusBar_MenuItemUnderThePointerShowsItsPrompt)
{
    ShowActive();
    m_frame->SwitchPage(kProductPageId); // where Add is enabled: a grayed item cannot be selected
    QMenuBar* bar = m_frame->menuBar();
    struct Row {
        int menu;
        int id;
        const char* prompt;
    };
    const Row rows[] = {{0, cmd::kFileSave, "Save the active document."},
                        {1, cmd::kEditAdd, "Add new item to the product list."},
                        {2, cmd::kViewGeneral, "Open the General page."},
                        {3, cmd::kAppAbout, "Display program information, version number and copyright."}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.prompt);
        QAction* title = bar->actions().at(row.menu);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QMenu* menu = title->menu();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseMove(menu, menu->actionGeometry(Action(row.id)).center());
        EXPECT_EQ(m_frame->StatusText(), QString::fromLatin1(row.prompt));
        menu->close();
        EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    }
}

TEST_F(FrameTest, StatusBar_ToolBarButtonUnderThePointerShowsItsPrompt)
{
    ShowActive();
    QWidget* save = m_frame->ToolBar()->widgetForAction(Action(cmd::kFileSave));
    ASSERT_NE(save, nullptr);
    QTest::mouseMove(save, save->rect().center());
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Save the active document."));
    QTest::mouseMove(Page(kGeneralPageId)->m_field);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
}
