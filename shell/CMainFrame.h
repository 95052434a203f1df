// The main window: menus, toolbar, status bar, and one page shown at a time.
#pragma once

#include "document/PageValidator.h"
#include "pages/Page.h"
#include "platform/CommandRouter.h"

#include <QMainWindow>
#include <QMap>
#include <functional>
#include <vector>

class QLabel;
class QMenu;
class QStackedWidget;
class QStatusBar;
class QToolBar;

namespace vl
{

class WindowSizer;

class CMainFrame : public QMainWindow, public PageHost, public PageValidator, public platform::CommandTarget
{
    Q_OBJECT

  public:
    using PageFactory = std::function<CPage*(int pageId, PageHost* host, QWidget* parent)>;

    // The outer size of the window, frame included, at the default desktop font.
    static constexpr int kOuterWidth = 585;
    static constexpr int kOuterHeight = 370;

    explicit CMainFrame(PageFactory factory, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The targets after the page on show and before the frame: the document; after the frame: the
    // application.
    void SetCommandTargets(platform::CommandTarget* document, platform::CommandTarget* application);
    // Asked before the window closes; false keeps it open.
    void SetCloseCheck(std::function<bool()> check) { m_closeCheck = std::move(check); }

    // PageHost
    void SwitchPage(int pageId) override;
    void SetStatusPrompt(const QString& text) override;
    void FitFrameToPage(QWidget* page) override;
    void UpdateCommands() override;
    // PageValidator
    bool ValidateCurrentPage() override;
    // CommandTarget: page switching, toolbar and status bar, Exit.
    bool UpdateCommand(int id, platform::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    int CurrentPageId() const { return m_nCurrentPage; }
    CPage* CurrentPage() const;
    CPage* FindPage(int pageId) const;
    // Runs every page's initial update, shown or hidden (after a new or opened configuration).
    void InitialUpdateAllPages();

    platform::CommandRouter& Router() { return m_router; }
    QAction* Action(int id) const { return m_router.Action(id); }
    QToolBar* ToolBar() const { return m_wndToolBar; }
    QString StatusText() const;
    // Shows "Salvage Deck Configuration Utility - " and the document's title.
    void SetDocumentTitle(const QString& title);
    // Replaces the recent-file entries of the File menu.
    void SetRecentFiles(const QStringList& files);
    // The window's fixed size and its place on the screen.
    WindowSizer& Sizer() const { return *m_sizer; }

  signals:
    void filesDropped(const QStringList& paths);

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QAction* MakeAction(int id, const QString& text);
    void BuildMenus();
    void BuildToolBar();
    CPage* MakePage(int pageId);

    PageFactory m_factory;
    platform::CommandRouter m_router;
    platform::CommandTarget* m_document = nullptr;
    platform::CommandTarget* m_application = nullptr;
    std::function<bool()> m_closeCheck;

    QStackedWidget* m_stack = nullptr;
    QMap<int, CPage*> m_pages;
    int m_nCurrentPage = kGeneralPageId;
    QToolBar* m_wndToolBar = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    WindowSizer* m_sizer = nullptr;
    QMetaObject::Connection m_focusConnection;
};

} // namespace vl
