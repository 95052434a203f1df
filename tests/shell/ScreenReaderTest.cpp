// What a screen reader is told of the menus and the toolbar.
#include "FrameFixture.h"

#include <QAccessible>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

using namespace vltest;

TEST_F(FrameTest, ScreenReader_ItemsNamedWithoutTheirKeysWhichAreTheirKeyBindings)
{
    QMap<QString, QString> heard; // menu item name: key binding
    for (QAction* menu : m_frame->menuBar()->actions()) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(menu->menu());
        for (int i = 0; i < list->childCount(); ++i)
            heard[list->child(i)->text(QAccessible::Name)] = list->child(i)->text(QAccessible::Accelerator);
    }
    for (QToolButton* button : m_frame->findChild<QToolBar*>()->findChildren<QToolButton*>())
        heard[QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name)];
    for (const QString& name : heard.keys())
        EXPECT_FALSE(name.contains(QLatin1Char('\t'))) << name.toStdString();
    EXPECT_EQ(heard.value(QStringLiteral("New")), QStringLiteral("Ctrl+N"));
    EXPECT_EQ(heard.value(QStringLiteral("Remove")), QStringLiteral("Del"));
}
