// The application object: start-up, the document and the main frame, New, Open, recent files, About, Help.
#pragma once

#include "CommandLine.h"
#include "document/CVLConfigDoc.h"
#include "platform/CommandRouter.h"
#include "platform/Settings.h"

#include <QObject>
#include <memory>

namespace vl
{

class CMainFrame;

class CVLConfigApp : public QObject, public platform::CommandTarget
{
    Q_OBJECT

  public:
    CVLConfigApp();
    ~CVLConfigApp() override;

    // Sets up the document and the frame and acts on the command line; false ends the program
    // (exitCode then says how).
    bool InitInstance(const QStringList& arguments);
    int ExitCode() const { return m_exitCode; }

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CVLConfigDoc* Document() const { return m_document.get(); }
    const platform::RecentFileList& RecentFiles() const { return m_recent; }

    // Opens a file through the document (asking first to save changes); a recent file that cannot be
    // opened leaves the list, one whose opening the user cancelled stays.
    bool OpenDocumentFile(const QString& path);
    void OnFileNew();
    void OnFileOpen();
    void OnAppAbout();
    void OnHelpContents();

    bool UpdateCommand(int id, platform::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    // The help file, in the data folder: the program's executable may be renamed or moved to libexec.
    static QString HelpFilePath();

  private:
    // Names the program to the desktop session and loads Qt's translations, once.
    static void SetUpDesktopSession();
    void AddRecentFile(const QString& path);
    void RefreshRecentMenu();

    std::unique_ptr<CVLConfigDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    platform::RecentFileList m_recent;
    int m_exitCode = 0;
};

} // namespace vl
