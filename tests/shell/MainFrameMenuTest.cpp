// The main window's menus, toolbar and keys: texts, order, tooltips and where each command goes.
#include "FrameFixture.h"

#include <QClipboard>
#include <QHelpEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

using namespace vl;
using vltest::FrameTest;
using T = vltest::Target;

namespace
{

constexpr int kSeparator = 0;
constexpr int kPlaceholder = -1; // the grayed "Recent File" line

// The command, the item's text, and where the command runs (Frame commands change the window and
// are left to the page tests).
using MenuRow = std::tuple<int, const char*, T>;

const MenuRow kSep{kSeparator, "", T::None};

const std::pair<const char*, std::vector<MenuRow>> kMenus[] = {
    {"&File",
     {{cmd::kFileNew, "&New\tCtrl+N", T::Application},
      {cmd::kFileOpen, "&Open...\tCtrl+O", T::Application},
      {cmd::kFileSave, "&Save\tCtrl+S", T::Document},
      {cmd::kFileSaveAs, "Save &As...", T::Document},
      kSep,
      {cmd::kPreview, "&Preview\tF5", T::Document},
      kSep,
      {kPlaceholder, "Recent File", T::None},
      kSep,
      {cmd::kAppExit, "E&xit", T::Frame}}},
    {"&Edit",
     {{cmd::kEditUndo, "&Undo\tCtrl+Z", T::Page},
      kSep,
      {cmd::kEditCut, "Cu&t\tCtrl+X", T::Page},
      {cmd::kEditCopy, "&Copy\tCtrl+C", T::Page},
      {cmd::kEditPaste, "&Paste\tCtrl+V", T::Page},
      kSep,
      {cmd::kEditAdd, "&Add\tIns", T::Page},
      {cmd::kEditRemove, "&Remove\tDel", T::Page},
      {cmd::kEditRename, "Rena&me\tF2", T::Page},
      kSep,
      {cmd::kMoveUp, "Move &Up", T::Page},
      {cmd::kMoveDown, "Move &Down", T::Page}}},
    {"&View",
     {{cmd::kViewToolbar, "&Toolbar", T::Frame},
      {cmd::kViewStatusBar, "&Status Bar", T::Frame},
      kSep,
      {cmd::kViewGeneral, "&General", T::Frame},
      {cmd::kViewProduct, "&Product", T::Frame},
      {cmd::kViewMisc, "&Miscellaneous", T::None}}},
    {"&Help",
     {{cmd::kHelpContents, "&Contents...", T::Application},
      kSep,
      {cmd::kAppAbout, "&About Salvage Deck", T::Application}}},
};

// The toolbar's places, left to right, with their tooltips; separators have id 0.
const std::tuple<int, const char*, T> kToolBar[] = {
    {cmd::kFileNew, "New", T::Application},
    {cmd::kFileOpen, "Open", T::Application},
    {cmd::kFileSave, "Save", T::Document},
    {kSeparator, "", T::None},
    {cmd::kEditCut, "Cut", T::Page},
    {cmd::kEditCopy, "Copy", T::Page},
    {cmd::kEditPaste, "Paste", T::Page},
    {kSeparator, "", T::None},
    {cmd::kMoveUp, "Move Up", T::Page},
    {cmd::kMoveDown, "Move Down", T::Page},
    {kSeparator, "", T::None},
    {cmd::kHelpContents, "", T::Application},
};

} // namespace

TEST_F(FrameTest, Menus_ItemsInOrderAndWhereTheyLead)
{
    m_frame->SwitchPage(kProductPageId); // the page that handles every Edit command
    const QList<QAction*> bar = m_frame->menuBar()->actions();
    ASSERT_EQ(bar.size(), std::ssize(kMenus));
    for (qsizetype m = 0; m < bar.size(); ++m) {
        const auto& [title, rows] = kMenus[m];
        SCOPED_TRACE(title);
        EXPECT_EQ(bar[m]->text(), QString::fromLatin1(title));
        ASSERT_NE(bar[m]->menu(), nullptr);
        const QList<QAction*> items = bar[m]->menu()->actions();
        ASSERT_EQ(items.size(), std::ssize(rows));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const auto& [id, text, target] = rows[i];
            QAction* item = items[i];
            SCOPED_TRACE(testing::Message() << "item " << i << ' ' << text);
            EXPECT_EQ(item->isSeparator(), id == kSeparator);
            if (id == kSeparator)
                continue;
            // The key names after the tab are shown from a shortcut that never fires; the frame's
            // own table binds the keys.
            const QString keys = item->shortcut().toString();
            EXPECT_EQ(item->text() + (keys.isEmpty() ? QString() : QLatin1Char('\t') + keys),
                      QString::fromLatin1(text));
            EXPECT_TRUE(keys.isEmpty() || item->shortcutContext() == Qt::WidgetShortcut);
            m_frame->UpdateCommands();
            if (id == kPlaceholder) {
                EXPECT_FALSE(item->isEnabled()) << "the recent-file placeholder stays grayed";
                continue;
            }
            EXPECT_EQ(Action(id), item) << "the router drives this very item";
            if (target == T::None || target == T::Frame)
                continue;
            ASSERT_TRUE(item->isEnabled());
            item->trigger();
            ExpectRanOnlyAt(target, id);
        }
    }
}

TEST_F(FrameTest, ToolBar_PlacesTooltipsAndCommands)
{
    ShowActive();
    m_frame->SwitchPage(kProductPageId);
    const QList<QAction*> places = m_frame->ToolBar()->actions();
    ASSERT_EQ(places.size(), std::ssize(kToolBar));
    for (qsizetype i = 0; i < places.size(); ++i) {
        const auto& [id, toolTip, target] = kToolBar[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(places[i]->isSeparator(), id == kSeparator);
        if (id == kSeparator)
            continue;
        EXPECT_EQ(places[i], Action(id));
        EXPECT_FALSE(places[i]->icon().isNull());

        auto* button = qobject_cast<QToolButton*>(m_frame->ToolBar()->widgetForAction(places[i]));
        ASSERT_NE(button, nullptr);
        // Asked the way the pointer resting on the button asks; Help shows no tip of its own.
        const QString before = QToolTip::text();
        const QPoint pos = button->rect().center();
        QHelpEvent help(QEvent::ToolTip, pos, button->mapToGlobal(pos));
        QApplication::sendEvent(button, &help);
        EXPECT_EQ(QToolTip::text(), id == cmd::kHelpContents ? before : QString::fromLatin1(toolTip));

        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        ExpectRanOnlyAt(target, id);
    }
    QToolTip::hideText();
}

// The focus rests on a push button, which takes none of these keys itself: each is left to the window.
TEST_F(FrameTest, Keys_ReachTheirCommandOnly)
{
    const int gen = kGeneralPageId, prod = kProductPageId, misc = kMiscPageId;
    const std::tuple<int, const char*, int, T> cases[] = {
        // the page on show, the keys, the command they must reach (0: none) and where it runs
        {gen, "Ctrl+N", cmd::kFileNew, T::Application},
        {gen, "Ctrl+O", cmd::kFileOpen, T::Application},
        {gen, "Ctrl+S", cmd::kFileSave, T::Document},
        {misc, "Ctrl+S", cmd::kFileSave, T::Document},
        {gen, "F5", cmd::kPreview, T::Document},
        {prod, "F5", cmd::kPreview, T::Document},
        {gen, "F1", cmd::kHelpContents, T::Application},
        {gen, "Shift+F1", 0, T::None},
        {gen, "Ctrl+F1", 0, T::None},
        {gen, "Ctrl+C", cmd::kEditCopy, T::Page},
        {gen, "Ctrl+Ins", cmd::kEditCopy, T::Page},
        {gen, "Ctrl+V", cmd::kEditPaste, T::Page},
        {prod, "Shift+Ins", cmd::kEditPaste, T::Page},
        {gen, "Ctrl+X", cmd::kEditCut, T::Page},
        {gen, "Shift+Del", cmd::kEditCut, T::Page},
        {gen, "Ctrl+Z", cmd::kEditUndo, T::Page},
        {prod, "Alt+Backspace", cmd::kEditUndo, T::Page},
        {prod, "F2", cmd::kEditRename, T::Page},
        {gen, "F2", 0, T::None},
        {misc, "F2", 0, T::None},
        {misc, "Ctrl+C", 0, T::None},
        {gen, "F6", 0, T::None},
        {prod, "Shift+F6", 0, T::None},
        {prod, "Ins", 0, T::None}, // not Add
        {prod, "Del", 0, T::None}, // not Remove
    };
    ShowActive();
    for (const auto& [pageId, keys, id, target] : cases) {
        SCOPED_TRACE(testing::Message() << keys << " on page " << pageId);
        const QKeySequence sequence(QString::fromLatin1(keys));
        ASSERT_EQ(sequence.toString(), QString::fromLatin1(keys));
        m_frame->SwitchPage(pageId);
        ASSERT_EQ(m_frame->CurrentPageId(), pageId);
        QWidget* focus = m_frame->CurrentPage()->findChild<QPushButton*>(); // each page has one
        ASSERT_NE(focus, nullptr);
        focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus);

        QTest::keySequence(focus, sequence);

        ExpectRanOnlyAt(target, id);
        EXPECT_EQ(m_frame->CurrentPageId(), pageId);
    }
}

// Every way to Copy, Cut, Paste or Undo leaves the field and the clipboard alike. The field holds
// "abc", then "xy" is typed and selected; the clipboard holds "XYZ".
TEST_F(FrameTest, EditKeys_ActOnTheFocusedField)
{
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        // the keys (none: the Edit menu's item), the command, the field and the clipboard afterwards
        {"Ctrl+C", cmd::kEditCopy, "abcxy", "xy"},
        {"Ctrl+Ins", cmd::kEditCopy, "abcxy", "xy"},
        {"", cmd::kEditCopy, "abcxy", "xy"},
        {"Ctrl+X", cmd::kEditCut, "abc", "xy"},
        {"Shift+Del", cmd::kEditCut, "abc", "xy"},
        {"", cmd::kEditCut, "abc", "xy"},
        {"Ctrl+V", cmd::kEditPaste, "abcXYZ", "XYZ"},
        {"Shift+Ins", cmd::kEditPaste, "abcXYZ", "XYZ"},
        {"", cmd::kEditPaste, "abcXYZ", "XYZ"},
        {"Ctrl+Z", cmd::kEditUndo, "abc", "XYZ"},
        {"Alt+Backspace", cmd::kEditUndo, "abc", "XYZ"},
        {"", cmd::kEditUndo, "abc", "XYZ"},
    };
    ShowActive();
    QLineEdit* field = Page(kGeneralPageId)->m_field;
    for (const auto& [keys, id, text, clipboard] : cases) {
        SCOPED_TRACE(testing::Message() << keys << ", command " << id);
        field->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), field);
        QApplication::clipboard()->setText(QStringLiteral("XYZ"));
        field->setText(QStringLiteral("abc")); // which also empties the field's undo history
        field->end(false);
        QTest::keyClicks(field, QStringLiteral("xy"));
        field->setSelection(5, -2);
        ASSERT_EQ(field->selectedText(), QStringLiteral("xy"));

        if (*keys) {
            QTest::keySequence(field, QKeySequence(QString::fromLatin1(keys)));
        } else {
            m_frame->UpdateCommands();
            Action(id)->trigger();
        }
        EXPECT_EQ(field->text(), QString::fromLatin1(text));
        EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLatin1(clipboard));
    }
}
