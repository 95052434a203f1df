// The application object.
#include "CVLConfigApp.h"

#include "CAboutBox.h"
#include "CMainFrame.h"
#include "PageFactory.h"
#include "WindowSizer.h"
#include "document/CommandIds.h"
#include "platform/FileDialogService.h"
#include "platform/HelpWindow.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <cstdio>

namespace vl
{

CVLConfigApp::CVLConfigApp() = default;

CVLConfigApp::~CVLConfigApp()
{
    if (m_document)
        m_document->OnCloseDocument();
    // Hide the frame while it is whole: hiding moves the focus out of a page field, and the page then
    // clears its prompt through the frame, which must not be half destroyed by then.
    if (m_frame)
        m_frame->hide();
    m_frame.reset();
}

QString CVLConfigApp::HelpFilePath()
{
    return platform::ProgramFolder() + QStringLiteral("vlconfig.html");
}

void CVLConfigApp::SetUpDesktopSession()
{
    // The desktop entry and the metainfo carry this name; a session matches the window to them.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vlconfig.VLConfig"));
    // Qt's own dialogs and buttons speak the user's language; the program's texts stay English.
    static bool translated = false;
    if (translated)
        return;
    translated = true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

bool CVLConfigApp::InitInstance(const QStringList& arguments)
{
    const CommandLine line = ParseCommandLine(arguments);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return false;
    case CommandLine::Action::Version:
        std::fputs(VersionText().toLocal8Bit().constData(), stdout);
        return false;
    case CommandLine::Action::Dde:
        return false; // a shell request has no counterpart here
    case CommandLine::Action::Unregister:
        platform::ShowMessage(
            platform::RemoveSettings()
                ? QStringLiteral("System registry entries have been removed and the INI file (if "
                                 "any) was deleted.")
                : QStringLiteral("Not all of the system registry entries (or INI file) were removed."));
        return false;
    case CommandLine::Action::Print:
        return false; // there is nothing to print
    case CommandLine::Action::Run:
        break;
    }

    // Over a file-size limit a write then fails with its reason, like a full disk, instead of ending
    // the program with the unsaved edits.
    std::signal(SIGXFSZ, SIG_IGN);
    SetUpDesktopSession();
    m_recent.Load();
    m_document = std::make_unique<CVLConfigDoc>();
    m_frame =
        std::make_unique<CMainFrame>([doc = m_document.get()](int pageId, PageHost* host, QWidget* parent) {
            return CreatePage(pageId, doc, host, parent);
        });
    m_frame->SetCommandTargets(m_document.get(), this);
    m_document->SetPageValidator(m_frame.get());
    m_document->SetWindow(m_frame.get());
    m_frame->SetCloseCheck([this] { return m_document->SaveModified(); });
    connect(m_document.get(), &CVLConfigDoc::configurationReplaced, m_frame.get(),
            &CMainFrame::InitialUpdateAllPages);
    connect(m_document.get(), &CVLConfigDoc::titleChanged, m_frame.get(), &CMainFrame::SetDocumentTitle);
    connect(m_document.get(), &CVLConfigDoc::addedToRecentFiles, this, &CVLConfigApp::AddRecentFile);
    connect(m_frame.get(), &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
        for (const QString& path : paths)
            OpenDocumentFile(path);
    });
    RefreshRecentMenu();

    const bool ok = line.file.isEmpty() ? m_document->OnNewDocument() : OpenDocumentFile(line.file);
    if (!ok) {
        m_exitCode = 1;
        return false;
    }

    m_frame->Sizer().CentreOnScreen();
    m_frame->show();
    m_frame->Sizer().ApplyFixedSize();
    m_frame->activateWindow();
    return true;
}

bool CVLConfigApp::OpenDocumentFile(const QString& path)
{
    const QString full = platform::AbsoluteFilePath(path);
    // The save-changes question comes first, so that a Cancel (or a failed save) is told apart from a
    // file that cannot be opened: only the latter leaves the recent-file list.
    if (!m_document->SaveModified())
        return false;
    // Answered already: the document's own open must not ask again. Should the open fail, the
    // document keeps its configuration, and with it its changes.
    const bool modified = m_document->IsModified();
    m_document->SetModifiedFlag(false);
    if (m_document->OnOpenDocument(full))
        return true;
    m_document->SetModifiedFlag(modified);
    if (m_recent.Files().contains(full)) {
        m_recent.Remove(full);
        m_recent.Save();
        RefreshRecentMenu();
    }
    return false;
}

void CVLConfigApp::OnFileNew()
{
    if (!m_document->SaveModified())
        return;
    m_document->OnNewDocument();
}

void CVLConfigApp::OnFileOpen()
{
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.filter = QStringLiteral("Configuration Files (*.ini)|*.ini|All Files (*.*)|*.*|");
    request.defaultExtension = QStringLiteral(".ini");
    request.mustExist = true;
    request.owner = m_frame.get();
    const auto chosen = platform::FileDialogs().Run(request);
    if (chosen)
        OpenDocumentFile(*chosen);
}

void CVLConfigApp::OnAppAbout()
{
    CAboutBox about(m_frame.get());
    about.exec();
}

void CVLConfigApp::OnHelpContents()
{
    if (!platform::ShowHelpContents(HelpFilePath(), m_frame.get()))
        platform::ShowMessage(QStringLiteral("Failed to launch help."));
}

void CVLConfigApp::AddRecentFile(const QString& path)
{
    m_recent.Add(path);
    m_recent.Save();
    RefreshRecentMenu();
}

void CVLConfigApp::RefreshRecentMenu()
{
    if (m_frame)
        m_frame->SetRecentFiles(m_recent.Files());
}

bool CVLConfigApp::UpdateCommand(int id, platform::CommandState&)
{
    const int recent = id - cmd::kFileRecentFirst;
    return id == cmd::kFileNew || id == cmd::kFileOpen || id == cmd::kAppAbout || id == cmd::kHelpContents ||
           (recent >= 0 && recent < m_recent.Files().size());
}

bool CVLConfigApp::ExecuteCommand(int id)
{
    switch (id) {
    case cmd::kFileNew:
        OnFileNew();
        return true;
    case cmd::kFileOpen:
        OnFileOpen();
        return true;
    case cmd::kAppAbout:
        OnAppAbout();
        return true;
    case cmd::kHelpContents:
        OnHelpContents();
        return true;
    default:
        break;
    }
    const int recent = id - cmd::kFileRecentFirst;
    if (recent >= 0 && recent < m_recent.Files().size()) {
        const QString path = m_recent.Files().at(recent);
        OpenDocumentFile(path);
        return true;
    }
    return false;
}

} // namespace vl
