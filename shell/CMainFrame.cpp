// The main window: menus, toolbar, status bar, and one page shown at a time.
#include "CMainFrame.h"

#include "CommandTable.h"
#include "WindowSizer.h"
#include "document/CommandIds.h"
#include "platform/FontScale.h"
#include "platform/MessageService.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

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

constexpr const char* kWindowTitle = "Salvage Deck Configuration Utility";
constexpr const char* kReady = "Ready";
// A recent file's entry is shortened in the middle to about this many characters.
constexpr int kRecentFileChars = 50;

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

    m_wndStatusBar = statusBar();
    m_wndStatusBar->setObjectName(QStringLiteral("statusBar"));
    m_wndStatusBar->setSizeGripEnabled(false);
    m_messagePane = new QLabel(QString::fromLatin1(kReady), m_wndStatusBar);
    m_messagePane->setObjectName(QStringLiteral("messagePaneLabel"));
    m_wndStatusBar->addWidget(m_messagePane, 1);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("pageStack"));
    setCentralWidget(m_stack);

    SetDocumentTitle(QStringLiteral("Untitled"));
    m_sizer = new WindowSizer(this, QSize(kOuterWidth, kOuterHeight));

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
    action->setStatusTip(StatusPromptOf(id));
    const QString tip = TooltipOf(id);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    action->setIconVisibleInMenu(false);
    m_router.AddAction(id, action);
    return action;
}

void CMainFrame::BuildMenus()
{
    QMenu* menu = nullptr;
    for (const Command& command : Commands()) {
        if (command.menu && (!menu || menu->title() != QLatin1String(command.menu))) {
            menu = menuBar()->addMenu(QString::fromLatin1(command.menu));
            // "&File" holds the items of fileMenu
            menu->setObjectName(menu->title().remove(QLatin1Char('&')).toLower() + QStringLiteral("Menu"));
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
            if (command.id == cmd::kFileNew)
                m_fileMenu = menu;
        }
        if (command.menu && command.id == 0) {
            menu->addSeparator();
            continue;
        }
        if (command.id == cmd::kFileRecentFirst) {
            // A grayed placeholder until there are recent files; it takes part in no routing.
            m_recentPlaceholder = new QAction(QString::fromLatin1(command.text), this);
            m_recentPlaceholder->setEnabled(false);
            m_recentPlaceholder->setObjectName(QString::fromLatin1(command.objectName));
            menu->addAction(m_recentPlaceholder);
            continue;
        }
        if (!command.menu && KeysOf(command).isEmpty())
            continue; // a prompt alone, for an entry made later
        // One action per command carries all its keys: the menu shows the first, and a screen reader
        // reads it as the item's key binding. A second shortcut object for the same key would make
        // Qt refuse both as ambiguous.
        QAction* action = MakeAction(command.id, QString::fromLatin1(command.text));
        action->setObjectName(QString::fromLatin1(command.objectName));
        action->setShortcuts(KeysOf(command));
        if (command.scope == KeyScope::Tree)
            action->setShortcutContext(Qt::WidgetShortcut); // only where the menu bar has the keyboard
        if (command.menu)
            menu->addAction(action);
        else
            addAction(action);
    }
    for (int id : {cmd::kViewToolbar, cmd::kViewStatusBar, cmd::kViewGeneral, cmd::kViewProduct})
        Action(id)->setCheckable(true);
    // F1 without Shift, Ctrl or Alt asks for the help contents, as the platform's help key; the menu
    // item shows no key.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setObjectName(QStringLiteral("helpShortcut"));
    connect(help, &QShortcut::activated, this, [this] { m_router.Execute(cmd::kHelpContents); });
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

    std::vector<const Command*> buttons;
    for (const Command& command : Commands()) {
        if (command.toolbarPlace > 0)
            buttons.push_back(&command);
    }
    std::sort(buttons.begin(), buttons.end(),
              [](const Command* a, const Command* b) { return a->toolbarPlace < b->toolbarPlace; });
    // Each button's image from the strip, and from the strip at twice the size for a screen scaled by 2.
    const QPixmap strip(QStringLiteral(":/vlconfig/toolbar.png"));
    const QPixmap sharpStrip(QStringLiteral(":/vlconfig/toolbar@2x.png"));
    int place = 1;
    int image = 0;
    for (const Command* button : buttons) {
        for (; place < button->toolbarPlace; ++place)
            m_wndToolBar->addSeparator();
        QAction* action = Action(button->id);
        QIcon icon(strip.copy(image * 16, 0, 16, 15));
        QPixmap sharp = sharpStrip.copy(image * 32, 0, 32, 30);
        sharp.setDevicePixelRatio(2);
        icon.addPixmap(sharp);
        action->setIcon(icon);
        ++image;
        ++place;
        m_wndToolBar->addAction(action);
    }
    if (QWidget* helpButton = m_wndToolBar->widgetForAction(Action(cmd::kHelpContents)))
        helpButton->installEventFilter(new NoToolTipFilter(helpButton));
}

CPage* CMainFrame::MakePage(int pageId)
{
    CPage* page = m_factory ? m_factory(pageId, this, m_stack) : nullptr;
    if (!page)
        return nullptr;
    platform::ScaleForm(page, m_sizer->Scale());
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
    m_sizer->FitClientTo(m_stack, QSize(kPageLayoutWidth, kPageLayoutHeight));
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
    setWindowTitle(QString::fromLatin1(kWindowTitle) + QStringLiteral(" - ") + title);
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
        const QFontMetrics metrics = m_fileMenu->fontMetrics();
        QString label =
            metrics.elidedText(files[i], Qt::ElideMiddle, metrics.averageCharWidth() * kRecentFileChars);
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
        m_messagePane->setText(tip.isEmpty() ? QString::fromLatin1(kReady) : tip);
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
