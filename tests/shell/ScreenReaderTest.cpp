// What a screen reader is told of the menus and the toolbar.
#include "FrameFixture.h"

#include <QAccessible>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

using vltest::FrameTest;

TEST_F(FrameTest, ScreenReader_ItemsNamedWithoutTheirKeysWhichAreTheirKeyBindings)
{
    QMap<QString, QString> heard; // name: key binding, of every menu item and toolbar button
    for (QAction* menu : m_frame->menuBar()->actions())
        for (int i = 0;
             QAccessibleInterface* item = QAccessible::queryAccessibleInterface(menu->menu())->child(i); ++i)
            heard[item->text(QAccessible::Name)] = item->text(QAccessible::Accelerator);
    for (QToolButton* button : m_frame->findChild<QToolBar*>()->findChildren<QToolButton*>())
        heard[QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name)];
    for (const QString& name : heard.keys())
        EXPECT_FALSE(name.contains(QLatin1Char('\t'))) << name.toStdString();
    EXPECT_EQ(heard.value(QStringLiteral("New")), QStringLiteral("Ctrl+N"));
    EXPECT_EQ(heard.value(QStringLiteral("Remove")), QStringLiteral("Del"));
}
