// The main window: menus, toolbar, status bar, and one page shown at a time.
#include "CMainFrame.h"

#include "Strings.h"
#include "document/CommandIds.h"
#include "platform/MessageService.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace vl
{

namespace
{

// Keeps the Help button of the toolbar free of a tooltip, as its command has no prompt string.
class NoToolTipFilter : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};

struct MenuEntry {
    int id; // 0: separator
    const char* text;
    const char* objectName;
};

} // namespace

CMainFrame::CMainFrame(PageFactory factory, QWidget* parent)
    : QMainWindow(parent), m_factory(std::move(factory))
{
    setObjectName(QStringLiteral("mainFrame"));
    // A fixed border, a system menu and a minimize box; no maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(QStringLiteral(":/vlconfig/vlconfig.png")));
    setAcceptDrops(true);

    m_router.SetChain([this] {
        std::vector<platform::CommandTarget*> chain;
        if (CPage* page = CurrentPage())
            chain.push_back(page);
        chain.push_back(m_document);
        chain.push_back(this);
        chain.push_back(m_application);
        return chain;
    });

    BuildMenus();
    BuildToolBar();
    BuildShortcuts();

    m_wndStatusBar = statusBar();
    m_wndStatusBar->setObjectName(QStringLiteral("statusBar"));
    m_wndStatusBar->setSizeGripEnabled(false);
    m_messagePane = new QLabel(QString::fromLatin1(strings::kReady), m_wndStatusBar);
    m_messagePane->setObjectName(QStringLiteral("messagePaneLabel"));
    m_wndStatusBar->addWidget(m_messagePane, 1);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("pageStack"));
    setCentralWidget(m_stack);

    SetDocumentTitle(QStringLiteral("Untitled"));
    m_scale = FontScale(font());
    m_fitSize = ScaledSize(QSize(kOuterWidth, kOuterHeight), m_scale);
    setFixedSize(m_fitSize);

    // The General page is the frame's first view.
    if (CPage* first = MakePage(kGeneralPageId))
        m_stack->setCurrentWidget(first);

    m_focusConnection = connect(qApp, &QApplication::focusChanged, this, [this] { UpdateCommands(); });
}

CMainFrame::~CMainFrame()
{
    disconnect(m_focusConnection);
    // Hide while the frame is whole: hiding moves the focus out of a page's field, and the page then
    // clears its prompt through the frame.
    hide();
}

void CMainFrame::SetCommandTargets(platform::CommandTarget* document, platform::CommandTarget* application)
{
    m_document = document;
    m_application = application;
    UpdateCommands();
}

QAction* CMainFrame::MakeAction(int id, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setStatusTip(strings::StatusPromptOf(id));
    const QString tip = strings::TooltipOf(id);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    action->setIconVisibleInMenu(false);
    action->setProperty("commandId", id);
    m_router.AddAction(id, action);
    return action;
}

void CMainFrame::BuildMenus()
{
    static const MenuEntry file[] = {
        {cmd::kFileNew, "&New\tCtrl+N", "newAction"},
        {cmd::kFileOpen, "&Open...\tCtrl+O", "openAction"},
        {cmd::kFileSave, "&Save\tCtrl+S", "saveAction"},
        {cmd::kFileSaveAs, "Save &As...", "saveAsAction"},
        {0, nullptr, nullptr},
        {cmd::kPreview, "&Preview\tF5", "previewAction"},
        {0, nullptr, nullptr},
        {cmd::kFileRecentFirst, "Recent File", "recentFileAction"},
        {0, nullptr, nullptr},
        {cmd::kAppExit, "E&xit", "exitAction"},
    };
    static const MenuEntry edit[] = {
        {cmd::kEditUndo, "&Undo\tCtrl+Z", "undoAction"},
        {0, nullptr, nullptr},
        {cmd::kEditCut, "Cu&t\tCtrl+X", "cutAction"},
        {cmd::kEditCopy, "&Copy\tCtrl+C", "copyAction"},
        {cmd::kEditPaste, "&Paste\tCtrl+V", "pasteAction"},
        {0, nullptr, nullptr},
        {cmd::kEditAdd, "&Add\tIns", "addAction"},
        {cmd::kEditRemove, "&Remove\tDel", "removeAction"},
        {cmd::kEditRename, "Rena&me\tF2", "renameAction"},
        {0, nullptr, nullptr},
        {cmd::kMoveUp, "Move &Up", "moveUpAction"},
        {cmd::kMoveDown, "Move &Down", "moveDownAction"},
    };
    static const MenuEntry view[] = {
        {cmd::kViewToolbar, "&Toolbar", "toolbarAction"},
        {cmd::kViewStatusBar, "&Status Bar", "statusBarAction"},
        {0, nullptr, nullptr},
        {cmd::kViewGeneral, "&General", "generalAction"},
        {cmd::kViewProduct, "&Product", "productAction"},
        {cmd::kViewMisc, "&Miscellaneous", "miscAction"},
    };
    static const MenuEntry help[] = {
        {cmd::kHelpContents, "&Contents...", "helpContentsAction"},
        {0, nullptr, nullptr},
        {cmd::kAppAbout, "&About Salvage Deck", "aboutAction"},
    };

    auto fill = [this](const QString& title, const char* name, const auto& entries) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
        for (const MenuEntry& e : entries) {
            if (e.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action;
            if (e.id == cmd::kFileRecentFirst) {
                // A grayed placeholder until there are recent files; it takes part in no routing.
                action = new QAction(QString::fromLatin1(e.text), this);
                action->setEnabled(false);
                m_recentPlaceholder = action;
            } else {
                // A screen reader reads the name alone, and the key after the tab as the item's key
                // binding; the menu shows that key from the shortcut. The frame's own table binds
                // the keys, so in this context, no focused widget's, the shortcut never fires.
                const QString text = QString::fromLatin1(e.text);
                action = MakeAction(e.id, text.section(QLatin1Char('\t'), 0, 0));
                if (text.contains(QLatin1Char('\t'))) {
                    action->setShortcut(QKeySequence(text.section(QLatin1Char('\t'), 1)));
                    action->setShortcutContext(Qt::WidgetShortcut);
                }
            }
            action->setObjectName(QString::fromLatin1(e.objectName));
            menu->addAction(action);
        }
        return menu;
    };
    m_fileMenu = fill(QStringLiteral("&File"), "fileMenu", file);
    fill(QStringLiteral("&Edit"), "editMenu", edit);
    fill(QStringLiteral("&View"), "viewMenu", view);
    fill(QStringLiteral("&Help"), "helpMenu", help);
    for (int id : {cmd::kViewToolbar, cmd::kViewStatusBar, cmd::kViewGeneral, cmd::kViewProduct})
        Action(id)->setCheckable(true);
}

void CMainFrame::BuildToolBar()
{
    m_wndToolBar = new QToolBar(this);
    m_wndToolBar->setObjectName(QStringLiteral("toolBar"));
    m_wndToolBar->setWindowTitle(QStringLiteral("Standard"));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(true);
    m_wndToolBar->setIconSize(QSize(16, 15));
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);

    // Each button's image from the strip, and from the strip at twice the size for a screen scaled by 2.
    const QPixmap strip(QStringLiteral(":/vlconfig/toolbar.png"));
    const QPixmap sharpStrip(QStringLiteral(":/vlconfig/toolbar@2x.png"));
    const int buttons[] = {cmd::kFileNew,
                           cmd::kFileOpen,
                           cmd::kFileSave,
                           0,
                           cmd::kEditCut,
                           cmd::kEditCopy,
                           cmd::kEditPaste,
                           0,
                           cmd::kMoveUp,
                           cmd::kMoveDown,
                           0,
                           cmd::kHelpContents};
    int image = 0;
    for (int id : buttons) {
        if (id == 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        QIcon icon(strip.copy(image * 16, 0, 16, 15));
        QPixmap sharp = sharpStrip.copy(image * 32, 0, 32, 30);
        sharp.setDevicePixelRatio(2);
        icon.addPixmap(sharp);
        action->setIcon(icon);
        ++image;
        m_wndToolBar->addAction(action);
    }
    if (QWidget* helpButton = m_wndToolBar->widgetForAction(Action(cmd::kHelpContents)))
        helpButton->installEventFilter(new NoToolTipFilter(helpButton));
}

void CMainFrame::BuildShortcuts()
{
    const std::pair<QKeySequence, int> table[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), cmd::kEditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_N), cmd::kFileNew},
        {QKeySequence(Qt::CTRL | Qt::Key_O), cmd::kFileOpen},
        {QKeySequence(Qt::CTRL | Qt::Key_S), cmd::kFileSave},
        {QKeySequence(Qt::CTRL | Qt::Key_V), cmd::kEditPaste},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), cmd::kEditUndo},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), cmd::kEditCut},
        {QKeySequence(Qt::Key_F2), cmd::kEditRename},
        {QKeySequence(Qt::Key_F5), cmd::kPreview},
        {QKeySequence(Qt::Key_F6), cmd::kNextPane},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), cmd::kPrevPane},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), cmd::kEditCopy},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), cmd::kEditPaste},
        {QKeySequence(Qt::CTRL | Qt::Key_X), cmd::kEditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), cmd::kEditUndo},
    };
    for (const auto& [keys, id] : table) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setObjectName(QStringLiteral("shortcut%1").arg(id));
        shortcut->setProperty("commandId", id);
        connect(shortcut, &QShortcut::activated, this, [this, id = id] { m_router.Execute(id); });
    }
    // F1 without Shift, Ctrl or Alt asks for the help contents.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setObjectName(QStringLiteral("helpShortcut"));
    connect(help, &QShortcut::activated, this, [this] { m_router.Execute(cmd::kHelpContents); });
}

CPage* CMainFrame::MakePage(int pageId)
{
    CPage* page = m_factory ? m_factory(pageId, this, m_stack) : nullptr;
    if (!page)
        return nullptr;
    ScaleForm(page, m_scale);
    m_pages.insert(pageId, page);
    m_stack->addWidget(page);
    page->OnInitialUpdate();
    return page;
}

CPage* CMainFrame::CurrentPage() const
{
    return qobject_cast<CPage*>(m_stack ? m_stack->currentWidget() : nullptr);
}

CPage* CMainFrame::FindPage(int pageId) const
{
    return m_pages.value(pageId, nullptr);
}

void CMainFrame::InitialUpdateAllPages()
{
    for (CPage* page : std::as_const(m_pages))
        page->OnInitialUpdate();
    UpdateCommands();
}

bool CMainFrame::ValidateCurrentPage()
{
    switch (m_nCurrentPage) {
    case kMiscPageId:
    case kProductPageId:
    case kGeneralPageId:
        if (CPage* page = CurrentPage())
            return page->CommitPage();
        break;
    default:
        break;
    }
    platform::ShowMessage(QStringLiteral("View Not Found"));
    return false;
}

void CMainFrame::SwitchPage(int pageId)
{
    if (!ValidateCurrentPage())
        return;
    CPage* page = FindPage(pageId);
    if (!page)
        page = MakePage(pageId);
    if (!page)
        return; // the page could not be made: the page shown stays
    m_stack->setCurrentWidget(page);
    m_nCurrentPage = pageId;
    UpdateCommands();
}

void CMainFrame::SetStatusPrompt(const QString& text)
{
    m_messagePane->setText(text);
    m_messagePane->repaint();
}

QString CMainFrame::StatusText() const
{
    return m_messagePane->text();
}

void CMainFrame::FitFrameToPage(QWidget*)
{
    if (layout())
        layout()->activate();
    const QSize client = m_stack->size();
    const QSize layoutSize = ScaledSize(QSize(kPageLayoutWidth, kPageLayoutHeight), m_scale);
    const int dw = std::max(0, client.width() - layoutSize.width());
    const int dh = std::max(0, client.height() - layoutSize.height());
    if (dw == 0 && dh == 0)
        return;
    m_fitSize -= QSize(dw, dh);
    ApplyFixedSize();
}

void CMainFrame::ApplyFixedSize()
{
    m_decoration = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    setFixedSize(m_fitSize - m_decoration);
}

void CMainFrame::CentreOnScreen()
{
    QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    QRect outer(QPoint(), m_fitSize);
    outer.moveCenter(shownOn->availableGeometry().center());
    move(outer.topLeft()); // a window's position is that of its frame
    m_centrePending = !isVisible() || m_decoration.isNull();
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // A window manager frames the window only after it is shown, and the window moves then: the
    // client area must shrink by the frame, and the window be centred again with its true size.
    if (!isVisible() || frameGeometry().size() - size() == m_decoration)
        return;
    ApplyFixedSize();
    if (m_centrePending)
        CentreOnScreen();
}

void CMainFrame::UpdateCommands()
{
    m_router.UpdateAll();
}

bool CMainFrame::UpdateCommand(int id, platform::CommandState& state)
{
    switch (id) {
    case cmd::kViewGeneral:
        state.checkable = true;
        state.checked = m_nCurrentPage == kGeneralPageId;
        return true;
    case cmd::kViewProduct:
        state.checkable = true;
        state.checked = m_nCurrentPage == kProductPageId;
        return true;
    case cmd::kViewToolbar:
        state.checkable = true;
        state.checked = m_wndToolBar->isVisibleTo(this);
        return true;
    case cmd::kViewStatusBar:
        state.checkable = true;
        state.checked = m_wndStatusBar->isVisibleTo(this);
        return true;
    case cmd::kAppExit:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::ExecuteCommand(int id)
{
    switch (id) {
    case cmd::kViewGeneral:
        SwitchPage(kGeneralPageId);
        return true;
    case cmd::kViewProduct:
        SwitchPage(kProductPageId);
        return true;
    case cmd::kViewToolbar:
        m_wndToolBar->setVisible(!m_wndToolBar->isVisibleTo(this));
        return true;
    case cmd::kViewStatusBar:
        m_wndStatusBar->setVisible(!m_wndStatusBar->isVisibleTo(this));
        return true;
    case cmd::kAppExit:
        close();
        return true;
    default:
        return false;
    }
}

void CMainFrame::SetDocumentTitle(const QString& title)
{
    setWindowTitle(QString::fromLatin1(strings::kWindowTitle) + QStringLiteral(" - ") + title);
}

void CMainFrame::SetRecentFiles(const QStringList& files)
{
    for (QAction* action : std::as_const(m_recentActions)) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size() && i < 4; ++i) {
        const int id = cmd::kFileRecentFirst + i;
        QString label = files[i];
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = MakeAction(id, QStringLiteral("&%1 %2").arg(i + 1).arg(label));
        action->setObjectName(QStringLiteral("recentFile%1Action").arg(i + 1));
        action->setData(files[i]);
        m_fileMenu->insertAction(m_recentPlaceholder, action);
        m_recentActions.append(action);
    }
    UpdateCommands();
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Menu and toolbar prompts go to the message pane; "Ready" when the pointer leaves them.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_messagePane->setText(tip.isEmpty() ? QString::fromLatin1(strings::kReady) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_closeCheck && !m_closeCheck()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(paths);
    }
}

} // namespace vl
