// The floor for start-up: a plain main window with the program's menus, toolbar and status bar.
#include "QuitAfterFirstPaint.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{

struct Entry {
    const char* text; // none: separator
    bool enabled = true;
};

void Fill(QMainWindow& window, const char* title, const std::vector<Entry>& entries,
          std::vector<QAction*>& actions)
{
    QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
    for (const Entry& e : entries) {
        if (!e.text) {
            menu->addSeparator();
            continue;
        }
        auto* action = new QAction(QString::fromLatin1(e.text), &window);
        action->setEnabled(e.enabled);
        menu->addAction(action);
        actions.push_back(action);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bare Window"));
    QApplication::setOrganizationName(QStringLiteral("Bare Window"));
    QuitAfterFirstPaint quitter;
    application.installEventFilter(&quitter);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Window - Untitled"));

    std::vector<QAction*> actions;
    Fill(window, "&File",
         {{"&New\tCtrl+N"},
          {"&Open...\tCtrl+O"},
          {"&Save\tCtrl+S"},
          {"Save &As..."},
          {nullptr},
          {"&Preview\tF5"},
          {nullptr},
          {"Recent File", false},
          {nullptr},
          {"E&xit"}},
         actions);
    Fill(window, "&Edit",
         {{"&Undo\tCtrl+Z"},
          {nullptr},
          {"Cu&t\tCtrl+X"},
          {"&Copy\tCtrl+C"},
          {"&Paste\tCtrl+V"},
          {nullptr},
          {"&Add\tIns"},
          {"&Remove\tDel"},
          {"Rena&me\tF2"},
          {nullptr},
          {"Move &Up"},
          {"Move &Down"}},
         actions);
    Fill(window, "&View",
         {{"&Toolbar"}, {"&Status Bar"}, {nullptr}, {"&General"}, {"&Product"}, {"&Miscellaneous"}}, actions);
    Fill(window, "&Help", {{"&Contents..."}, {nullptr}, {"&About Salvage Deck"}}, actions);

    // Twelve places: nine buttons with 16 by 15 icons cut from one strip, and three separators.
    auto* toolBar = new QToolBar(QStringLiteral("Standard"), &window);
    toolBar->setIconSize(QSize(16, 15));
    window.addToolBar(Qt::TopToolBarArea, toolBar);
    const QPixmap strip(QStringLiteral(":/bare/toolbar.png"));
    // New, Open, Save, Cut, Copy, Paste, Move Up, Move Down, Contents: their places in the menus above.
    const int buttons[] = {0, 1, 2, -1, 8, 9, 10, -1, 14, 15, -1, 21};
    int image = 0;
    for (int index : buttons) {
        if (index < 0) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = actions.at(static_cast<std::size_t>(index));
        action->setIcon(QIcon(strip.copy(image * 16, 0, 16, 15)));
        ++image;
        toolBar->addAction(action);
    }

    window.statusBar()->setSizeGripEnabled(false);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Ready"), window.statusBar()), 1);
    window.setCentralWidget(new QWidget(&window));
    window.setFixedSize(585, 370);
    window.show();

    // Should the window never be painted, fail rather than wait for ever.
    QTimer::singleShot(10000, qApp, [] {
        std::fputs("bare_window: the window was not painted within 10 s\n", stderr);
        std::exit(2);
    });
    return QApplication::exec();
}
