// The main window with stand-in pages: where its keys send each command, and switching pages, driven
// by the pointer and the keyboard on the shown window.
#include "FrameFixture.h"

#include <QAccessible>
#include <QMenuBar>

using namespace vl;
using vltest::FrameTest;
using T = vltest::Target;

namespace
{

// With the focus on a page's button, or on the menu bar after a menu opened by the mouse was closed
// with Escape (the accessibility bridge off, as on most desktops), each key reaches its command only;
// a command that the page has disabled does not run from its key.
TEST_F(FrameTest, KeysReachTheirCommandOnly)
{
    const int gen = kGeneralPageId, prod = kProductPageId, misc = kMiscPageId;
    const struct {
        int pageId;
        const char* menu; // opened and closed before the keys
        const char* keys;
        int id;
        T target;
    } cases[] = {
        {gen, "", "Ctrl+N", cmd::kFileNew, T::Application},
        {misc, "", "Ctrl+S", cmd::kFileSave, T::Document},
        {prod, "", "F5", cmd::kPreview, T::Document},
        {gen, "", "F1", cmd::kHelpContents, T::Application},
        {gen, "", "Shift+F1", 0, T::None},
        {gen, "", "Ctrl+Ins", cmd::kEditCopy, T::Page},
        {prod, "", "Shift+Ins", cmd::kEditPaste, T::Page},
        {gen, "", "Shift+Del", cmd::kEditCut, T::Page},
        {prod, "", "Alt+Backspace", cmd::kEditUndo, T::Page},
        {prod, "", "F2", cmd::kEditRename, T::Page},
        {gen, "", "F2", 0, T::None},
        {misc, "", "Ctrl+C", 0, T::None},
        {prod, "", "F6", 0, T::None},
        {gen, "&File", "Ctrl+S", cmd::kFileSave, T::Document},
        {gen, "&Edit", "Ctrl+O", cmd::kFileOpen, T::Application},
        {prod, "&View", "Ctrl+N", cmd::kFileNew, T::Application},
        {gen, "&File", "F5", cmd::kPreview, T::Document},
        {prod, "", "Ins", 0, T::None},
    };
    QAccessible::setActive(false);
    ShowActive();
    QMenuBar* bar = m_frame->menuBar();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keys << " on page " << c.pageId << " after menu " << c.menu);
        m_frame->SwitchPage(c.pageId);
        if (vltest::TestPage* page = Page(c.pageId))
            vltest::Click(page->m_button);
        else
            vltest::Click(m_frame->CurrentPage(), QPoint(1, 1));
        for (QAction* title : bar->actions()) {
            if (title->text() == QLatin1String(c.menu)) {
                vltest::Click(bar, bar->actionGeometry(title).center());
                ASSERT_NE(QApplication::activePopupWidget(), nullptr);
                QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            }
        }
        vltest::Press(QKeySequence(QString::fromLatin1(c.keys)));
        ExpectRanOnlyAt(c.target, c.id);
    }
    Page(prod)->m_disabled = {cmd::kEditRename};
    vltest::Press(QKeySequence(Qt::Key_F2));
    ExpectRanOnlyAt(T::None, 0);
}

// A long recent file is shortened in the middle in the File menu, which stays narrow; a short one is whole.
TEST_F(FrameTest, LongRecentFileShortenedInTheMiddle)
{
    const QString deep = QStringLiteral("/home/tester/") + QString(200000, QLatin1Char('d'));
    m_frame->SetRecentFiles({deep + QStringLiteral("/a.ini"), QStringLiteral("/home/tester/stick/a.ini")});
    ShowActive();
    QMenuBar* bar = m_frame->menuBar();
    vltest::Click(bar, bar->actionGeometry(bar->actions()[0]).center());
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    EXPECT_LE(menu->width(), 600);
    const QString first = m_frame->findChild<QAction*>(QStringLiteral("recentFile1Action"))->text();
    EXPECT_TRUE(first.startsWith(QStringLiteral("&1 /home/tester/dd")) && first.contains(QChar(0x2026)) &&
                first.endsWith(QStringLiteral("dd/a.ini")))
        << first.toStdString();
    EXPECT_EQ(m_frame->findChild<QAction*>(QStringLiteral("recentFile2Action"))->text(),
              QStringLiteral("&2 /home/tester/stick/a.ini"));
    QTest::keyClick(menu, Qt::Key_Escape);
}

// A page that refuses its commit keeps the window on it, and the View menu checks the page on show.
TEST_F(FrameTest, SwitchingAsksThePageOnShow)
{
    ShowActive();
    for (const auto& [from, to] :
         {std::pair{kGeneralPageId, kProductPageId}, {kProductPageId, kGeneralPageId}}) {
        for (bool accept : {false, true}) {
            SCOPED_TRACE(testing::Message() << from << (accept ? " accepts" : " refuses"));
            Page(from)->m_accept = accept;
            ASSERT_TRUE(vltest::ChooseFromMenu(
                m_frame.get(), Action(to == kGeneralPageId ? cmd::kViewGeneral : cmd::kViewProduct)));
            const int shown = accept ? to : from;
            EXPECT_EQ(m_frame->CurrentPage(), Page(shown));
            m_frame->UpdateCommands();
            EXPECT_EQ(Action(cmd::kViewGeneral)->isChecked(), shown == kGeneralPageId);
            EXPECT_EQ(Action(cmd::kViewProduct)->isChecked(), shown == kProductPageId);
        }
    }
    EXPECT_EQ(m_made, (std::vector<int>{kGeneralPageId, kProductPageId}));
}

} // namespace
