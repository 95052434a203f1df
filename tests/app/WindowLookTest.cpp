// The window as a person sees it: texts whole at every desktop font, toolbar images on any palette
// and screen scale, and the recent-file list when an opening is cancelled.
#include "app/AppFixture.h"
#include "shell/CAboutBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyleOption>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

using WindowLook = vltest::AppTest;

namespace
{

// The first control of `widget` that cannot show all of its text, by name; empty when none.
std::string FirstClipped(QWidget* widget)
{
    for (QWidget* w : widget->findChildren<QWidget*>()) {
        const QFontMetrics fm = w->fontMetrics();
        QSize need;
        QRect room;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            need = fm.size(Qt::TextShowMnemonic, label->text());
            room = label->contentsRect();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            need = fm.size(Qt::TextShowMnemonic, button->text());
            room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
            QStyleOptionFrame option;
            option.initFrom(line);
            option.lineWidth = line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, line);
            need = QSize(fm.horizontalAdvance(line->text()) + 4, fm.height()); // 2 pixels each side
            room = line->style()->subElementRect(QStyle::SE_LineEditContents, &option, line);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
            QTextCursor end(text->document());
            end.movePosition(QTextCursor::End);
            need = QSize(0, text->cursorRect(end).bottom() + 1);
            room = text->verticalScrollBar()->value() == 0 ? text->viewport()->rect() : QRect();
        } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
            tree->expandAll();
            const int margin = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
            for (QModelIndex i = tree->model()->index(0, 0); i.isValid(); i = tree->indexBelow(i)) {
                const QRect rect = tree->visualRect(i);
                const int wide = fm.horizontalAdvance(i.data().toString()) + margin;
                if (rect.width() < wide || rect.right() >= tree->viewport()->width() ||
                    rect.height() < fm.height())
                    return (w->objectName() + QLatin1Char('/') + i.data().toString()).toStdString();
            }
            continue;
        } else {
            continue;
        }
        if (need.width() > room.width() || need.height() > room.height())
            return w->objectName().toStdString();
    }
    return {};
}

// Pixels of the image, laid over the background, that lie far from it in colour: what the eye picks out.
int VisiblePixels(const QPixmap& pixmap, const QColor& background)
{
    QImage image(pixmap.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter(&image).drawPixmap(0, 0, pixmap);
    int visible = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int r = c.red() - background.red(), g = c.green() - background.green(),
                      b = c.blue() - background.blue();
            visible += r * r + g * g + b * b >= 100 * 100;
        }
    return visible;
}

} // namespace

// At 9 point (the default), 11 and 14 point every label, button, field and tree entry of every page
// and of the About box shows its whole text, and every page lies inside the window.
TEST_F(WindowLook, everyTextIsWholeAtEveryDesktopFont)
{
    const QFont saved = QApplication::font();
    for (int points : {9, 11, 14}) {
        SCOPED_TRACE(points);
        QApplication::setFont(QFont(QStringLiteral("Sans Serif"), points));
        ASSERT_TRUE(Start());
        if (points == 9) {
            EXPECT_EQ(Frame()->frameGeometry().size(), QSize(585, 370));
        }
        for (int page : {vl::kGeneralPageId, vl::kProductPageId, vl::kMiscPageId}) {
            Frame()->SwitchPage(page);
            vltest::ProcessEvents();
            QWidget* shown = Frame()->CurrentPage();
            ASSERT_EQ(shown, Frame()->FindPage(page));
            EXPECT_EQ(FirstClipped(shown), "") << "page " << page;
            const QRect area = Frame()->findChild<QStackedWidget*>()->rect();
            EXPECT_TRUE(area.contains(shown->childrenRect())) << "page " << page;
        }
        EXPECT_EQ(FirstClipped(std::make_unique<vl::CAboutBox>(Frame()).get()), "");
    }
    QApplication::setFont(saved);
}

// Every toolbar image stands out on a light toolbar and on a dark one, and is drawn anew (not
// enlarged) for a screen scaled by 2.
TEST_F(WindowLook, toolbarImagesShowOnEveryPaletteAndStaySharpAtScaleTwo)
{
    ASSERT_TRUE(Start());
    const QSize size = Frame()->ToolBar()->iconSize();
    for (QAction* action : Frame()->ToolBar()->actions()) {
        if (action->isSeparator())
            continue;
        SCOPED_TRACE(action->objectName().toStdString());
        const QPixmap normal = action->icon().pixmap(size, 1.0);
        for (const char* background : {"#efefef", "#353535"})
            EXPECT_GE(VisiblePixels(normal, QColor(QLatin1String(background))), 12) << background;
        const QImage sharp =
            action->icon().pixmap(size, 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(sharp.size(), size * 2);
        EXPECT_NE(sharp, normal.toImage().convertToFormat(QImage::Format_ARGB32).scaled(size * 2));
    }
}

// Choosing a recent file and cancelling the save-changes question keeps the entry (and the changes);
// the entry goes only once its file cannot be opened.
TEST_F(WindowLook, recentFileStaysWhenTheQuestionIsCancelled)
{
    const QString first = WriteFile(QStringLiteral("a.ini"), vltest::SmallConfig());
    const QString second = WriteFile(QStringLiteral("b.ini"), vltest::SmallConfig());
    ASSERT_TRUE(Start({first}));
    ASSERT_TRUE(m_app->OpenDocumentFile(second));
    auto* title = Control<QLineEdit>("titleEdit");
    QTest::mouseClick(Frame()->windowHandle(), Qt::LeftButton, {},
                      title->mapTo(Frame(), title->rect().center()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    ASSERT_TRUE(Doc()->IsModified());
    const QString question = QStringLiteral("Save changes to b.ini?");
    // What is answered, whether a.ini is still there, the boxes shown, the list after.
    const std::tuple<platform::MsgAnswer, bool, QStringList, QStringList> steps[] = {
        {platform::MsgAnswer::Cancel, true, {question}, {second, first}},
        {platform::MsgAnswer::No, false, {question, vltest::kCannotOpen}, {second}},
    };
    for (const auto& [answer, keep, messages, list] : steps) {
        SCOPED_TRACE(keep);
        if (!keep) {
            ASSERT_TRUE(QFile::remove(first));
        }
        Answer(answer);
        // A click on File, then its second recent entry, a.ini, by its number.
        QMenuBar* bar = Frame()->menuBar();
        const QRect file = bar->actionGeometry(bar->actions().constFirst());
        QTest::mouseClick(Frame()->windowHandle(), Qt::LeftButton, {}, bar->mapTo(Frame(), file.center()));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTest::keyClick(menu, Qt::Key_2);
        vltest::ProcessEvents();
        EXPECT_EQ(TakeMessages(), messages);
        EXPECT_EQ(m_app->RecentFiles().Files(), list);
        EXPECT_TRUE(Doc()->IsModified());
        EXPECT_EQ(title->text(), QStringLiteral("Welcomex"));
    }
}
