// The window as a person sees it: every text whole at every desktop font.
#include "app/AppFixture.h"
#include "shell/CAboutBox.h"

#include <QtTest>
#include <QtWidgets>

using WindowLook = vltest::AppTest;

// The controls of `widget` that cannot show all of their text, by name.
static std::string Clipped(QWidget* widget)
{
    std::string clipped;
    const auto check = [&](QWidget* w, QSize need, QRect room, const QString& entry = {}) {
        if (need.width() > room.width() || need.height() > room.height())
            clipped += (w->objectName() + entry + QLatin1Char(' ')).toStdString();
    };
    for (QWidget* w : widget->findChildren<QWidget*>()) {
        const QFontMetrics fm = w->fontMetrics();
        const int f = w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth); // text inside the frame
        const QRect inner = w->rect().adjusted(f, f, -f, -f);
        if (auto* label = qobject_cast<QLabel*>(w))
            check(w, fm.size(Qt::TextShowMnemonic, label->text()), label->contentsRect());
        else if (auto* button = qobject_cast<QPushButton*>(w))
            check(w, fm.size(Qt::TextShowMnemonic, button->text()), inner);
        else if (auto* line = qobject_cast<QLineEdit*>(w)) // and 2 pixels of margin each side
            check(w, QSize(fm.horizontalAdvance(line->text()) + 4, fm.height()), inner);
        else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
            QTextCursor end(text->document());
            end.movePosition(QTextCursor::End);
            const QRect room = text->verticalScrollBar()->value() ? QRect() : text->viewport()->rect();
            check(w, QSize(0, text->cursorRect(end).bottom() + 1), room); // from the first line to the last
        } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
            tree->expandAll();
            const int margin = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
            for (QModelIndex i = tree->model()->index(0, 0); i.isValid(); i = tree->indexBelow(i)) {
                const QString entry = i.data().toString();
                check(w, QSize(fm.horizontalAdvance(entry) + margin, fm.height()),
                      tree->visualRect(i) & tree->viewport()->rect(), QLatin1Char('/') + entry);
            }
        }
    }
    return clipped;
}

// At 9 point (the default), 11 and 14 point every label, button, field and tree entry of every page
// and of the About box shows its whole text, and every page lies inside the window.
TEST_F(WindowLook, everyTextIsWholeAtEveryDesktopFont)
{
    const QFont saved = QApplication::font();
    for (int points : {9, 11, 14}) {
        SCOPED_TRACE(points);
        QApplication::setFont(QFont(QStringLiteral("Sans Serif"), points));
        ASSERT_TRUE(Start());
        EXPECT_TRUE(points != 9 || Frame()->frameGeometry().size() == QSize(585, 370)) << "default unchanged";
        for (int page : {vl::kGeneralPageId, vl::kProductPageId, vl::kMiscPageId}) {
            Frame()->SwitchPage(page);
            vltest::ProcessEvents();
            QWidget* shown = Frame()->FindPage(page);
            EXPECT_EQ(Clipped(shown), "") << "page " << page;
            EXPECT_TRUE(shown->parentWidget()->rect().contains(shown->childrenRect())) << "page " << page;
        }
        EXPECT_EQ(Clipped(std::make_unique<vl::CAboutBox>(Frame()).get()), "");
    }
    QApplication::setFont(saved);
}
