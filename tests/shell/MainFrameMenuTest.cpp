// The main window's menus, toolbar and window shape: texts, order, prompts, tooltips and routing.
#include "FrameFixture.h"

#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

using namespace vl;
using vltest::FrameTest;
using vltest::Target;
using vltest::TestPage;

namespace
{

constexpr int kSeparator = 0;
constexpr int kPlaceholder = -1; // the grayed "Recent File" line

struct MenuRow {
    int id;
    const char* text;
    const char* statusTip;
    Target target;
};

struct MenuCase {
    const char* title;
    std::vector<MenuRow> rows;
};

const MenuRow kSep{kSeparator, "", "", Target::None};

const std::vector<MenuCase>& Menus()
{
    static const std::vector<MenuCase> menus = {
        {"&File",
         {{cmd::kFileNew, "&New\tCtrl+N", "Create a new document.", Target::Application},
          {cmd::kFileOpen, "&Open...\tCtrl+O", "Open an existing document.", Target::Application},
          {cmd::kFileSave, "&Save\tCtrl+S", "Save the active document.", Target::Document},
          {cmd::kFileSaveAs, "Save &As...", "Save the active document with a new name.", Target::Document},
          kSep,
          {cmd::kPreview, "&Preview\tF5", "Preview the active document.", Target::Document},
          kSep,
          {kPlaceholder, "Recent File", "", Target::None},
          kSep,
          {cmd::kAppExit, "E&xit", "Quit the application; prompts to save documents.", Target::Frame}}},
        {"&Edit",
         {{cmd::kEditUndo, "&Undo\tCtrl+Z", "Undo the last action.", Target::Page},
          kSep,
          {cmd::kEditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard.", Target::Page},
          {cmd::kEditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard.", Target::Page},
          {cmd::kEditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents.", Target::Page},
          kSep,
          {cmd::kEditAdd, "&Add\tIns", "Add new item to the product list.", Target::Page},
          {cmd::kEditRemove, "&Remove\tDel", "Remove an item from the product list.", Target::Page},
          {cmd::kEditRename, "Rena&me\tF2", "Rename the product list item.", Target::Page},
          kSep,
          {cmd::kMoveUp, "Move &Up", "Move one level up.", Target::Page},
          {cmd::kMoveDown, "Move &Down", "Move one level down.", Target::Page}}},
        {"&View",
         {{cmd::kViewToolbar, "&Toolbar", "Show or hide the toolbar.", Target::Frame},
          {cmd::kViewStatusBar, "&Status Bar", "Show or hide the status bar.", Target::Frame},
          kSep,
          {cmd::kViewGeneral, "&General", "Open the General page.", Target::Frame},
          {cmd::kViewProduct, "&Product", "Open the Product page.", Target::Frame},
          {cmd::kViewMisc, "&Miscellaneous", "Open the Miscellaneous page.", Target::None}}},
        {"&Help",
         {{cmd::kHelpContents, "&Contents...", "", Target::Application},
          kSep,
          {cmd::kAppAbout, "&About Salvage Deck",
           "Display program information, version number and copyright.", Target::Application}}},
    };
    return menus;
}

} // namespace

TEST_F(FrameTest, Menus_TitlesItemsSeparatorsIdentifiersAndPromptsInOrder)
{
    const QList<QAction*> bar = m_frame->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(Menus().size()));
    for (size_t m = 0; m < Menus().size(); ++m) {
        const MenuCase& expected = Menus()[m];
        SCOPED_TRACE(expected.title);
        EXPECT_EQ(bar[static_cast<qsizetype>(m)]->text(), QString::fromLatin1(expected.title));
        QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.rows.size()));
        for (size_t i = 0; i < expected.rows.size(); ++i) {
            const MenuRow& row = expected.rows[i];
            QAction* item = items[static_cast<qsizetype>(i)];
            SCOPED_TRACE(
                QStringLiteral("item %1 %2").arg(i).arg(QString::fromLatin1(row.text)).toStdString());
            EXPECT_EQ(item->isSeparator(), row.id == kSeparator);
            if (row.id == kSeparator)
                continue;
            EXPECT_EQ(item->text(), QString::fromLatin1(row.text));
            EXPECT_EQ(item->statusTip(), QString::fromLatin1(row.statusTip));
            // The key names after the tab are only shown; the frame's own table binds the keys.
            EXPECT_TRUE(item->shortcut().isEmpty());
            if (row.id == kPlaceholder) {
                m_frame->UpdateCommands();
                EXPECT_FALSE(item->isEnabled()) << "the recent-file placeholder stays grayed";
                continue;
            }
            EXPECT_EQ(item->property("commandId").toInt(), row.id);
            EXPECT_EQ(Action(row.id), item) << "the router drives this very item";
        }
    }
}

// Frame rows change the window and are covered by the page and bar tests.
TEST_F(FrameTest, MenuItems_ReachTheirHandlers)
{
    m_frame->SwitchPage(kProductPageId); // the page that handles every Edit command
    for (const MenuCase& menu : Menus()) {
        for (const MenuRow& row : menu.rows) {
            if (row.target == Target::None || row.target == Target::Frame)
                continue;
            SCOPED_TRACE(row.text);
            ClearRecords();
            m_frame->UpdateCommands();
            ASSERT_TRUE(Action(row.id)->isEnabled());
            Action(row.id)->trigger();
            ExpectRanOnlyAt(row.target, row.id);
        }
    }
}

namespace
{

struct ToolBarPlace {
    int id;
    const char* toolTip;
    Target target;
};

// The toolbar's places, left to right; separators have id 0.
const ToolBarPlace kToolBar[] = {
    {cmd::kFileNew, "New", Target::Application},
    {cmd::kFileOpen, "Open", Target::Application},
    {cmd::kFileSave, "Save", Target::Document},
    {kSeparator, "", Target::None},
    {cmd::kEditCut, "Cut", Target::Page},
    {cmd::kEditCopy, "Copy", Target::Page},
    {cmd::kEditPaste, "Paste", Target::Page},
    {kSeparator, "", Target::None},
    {cmd::kMoveUp, "Move Up", Target::Page},
    {cmd::kMoveDown, "Move Down", Target::Page},
    {kSeparator, "", Target::None},
    {cmd::kHelpContents, "", Target::Application},
};

QToolButton* ButtonOf(QToolBar* bar, QAction* action)
{
    return qobject_cast<QToolButton*>(bar->widgetForAction(action));
}

// Asks a button for its tooltip the way the pointer resting on it does.
void AskToolTip(QToolButton* button)
{
    const QPoint pos = button->rect().center();
    QHelpEvent help(QEvent::ToolTip, pos, button->mapToGlobal(pos));
    QApplication::sendEvent(button, &help);
}

} // namespace

TEST_F(FrameTest, ToolBar_PlacesImagesAndTooltips)
{
    ShowActive();
    const QList<QAction*> places = m_frame->ToolBar()->actions();
    ASSERT_EQ(places.size(), static_cast<qsizetype>(std::size(kToolBar)));
    QList<QImage> images;
    for (size_t i = 0; i < std::size(kToolBar); ++i) {
        const ToolBarPlace& expected = kToolBar[i];
        SCOPED_TRACE(i);
        QAction* place = places[static_cast<qsizetype>(i)];
        EXPECT_EQ(place->isSeparator(), expected.id == kSeparator);
        if (expected.id == kSeparator)
            continue;
        EXPECT_EQ(place->property("commandId").toInt(), expected.id);
        const QImage image = place->icon().pixmap(QSize(16, 15)).toImage();
        EXPECT_FALSE(image.isNull());
        EXPECT_FALSE(images.contains(image)) << "each button has an image of its own";
        images << image;

        QToolButton* button = ButtonOf(m_frame->ToolBar(), place);
        ASSERT_NE(button, nullptr);
        const QString before = QToolTip::text();
        AskToolTip(button);
        if (expected.id == cmd::kHelpContents)
            EXPECT_EQ(QToolTip::text(), before) << "the Help button shows no tip of its own";
        else
            EXPECT_EQ(QToolTip::text(), QString::fromLatin1(expected.toolTip));
    }
    QToolTip::hideText();
}

TEST_F(FrameTest, ToolBar_ClickingEachButtonRunsItsCommand)
{
    ShowActive();
    m_frame->SwitchPage(kProductPageId);
    for (const ToolBarPlace& place : kToolBar) {
        if (place.id == kSeparator)
            continue;
        SCOPED_TRACE(place.id);
        ClearRecords();
        QToolButton* button = ButtonOf(m_frame->ToolBar(), Action(place.id));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        ExpectRanOnlyAt(place.target, place.id);
    }
}

TEST_F(FrameTest, Window_FixedSizeNoMaximizeAndUntitledTitle)
{
    EXPECT_EQ(m_frame->minimumSize(), m_frame->maximumSize());
    EXPECT_EQ(m_frame->size(), QSize(585, 370));
    const Qt::WindowFlags flags = m_frame->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Salvage Deck Configuration Utility - Untitled"));
    m_frame->SetDocumentTitle(QStringLiteral("boot.ini"));
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Salvage Deck Configuration Utility - boot.ini"));

    ShowActive();
    m_frame->ApplyFixedSize(); // as start-up does once the window has its frame
    EXPECT_EQ(m_frame->frameGeometry().size(), QSize(585, 370));
    EXPECT_EQ(m_frame->minimumSize(), m_frame->maximumSize()) << "still fixed once shown";
    EXPECT_EQ(m_frame->CurrentPageId(), kGeneralPageId);
    EXPECT_EQ(m_frame->CurrentPage(), Page(kGeneralPageId));
}
