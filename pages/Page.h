// What every page of the main window offers, and the small interface through which it reaches the frame.
#pragma once

#include "platform/CommandRouter.h"
#include "platform/FileDialogService.h"

#include <optional>

#include <QWidget>

namespace vl
{

inline constexpr int kGeneralPageId = 130;
inline constexpr int kProductPageId = 129;
inline constexpr int kMiscPageId = 101;

// Every page layout is 380 by 160 dialog units.
inline constexpr int kPageLayoutWidth = 570;
inline constexpr int kPageLayoutHeight = 260;

// A file chosen with a browse button, for the launcher to read on its medium.
struct MediumFile {
    QString path;    // its full path here
    QString dosPath; // as the configuration stores it: relative to folder, in DOS form
    QString folder;  // the configuration's folder, or the file's own when the configuration has none
};

// The frame, as a page sees it.
class PageHost
{
  public:
    virtual ~PageHost() = default;
    virtual void SwitchPage(int pageId) = 0;
    virtual void SetStatusPrompt(const QString& text) = 0;
    // Makes the frame smaller (never larger) where its client area exceeds the page's layout.
    virtual void FitFrameToPage(QWidget* page) = 0;
    // Asks the command chain again for the state of every command.
    virtual void UpdateCommands() = 0;
};

class CPage : public QWidget, public platform::CommandTarget
{
    Q_OBJECT

  public:
    CPage(int pageId, PageHost* host, QWidget* parent = nullptr);

    int PageId() const { return m_pageId; }

    // Validates the fields and stores them in the configuration; false after showing why not.
    virtual bool CommitPage() = 0;
    // Runs once the page is made and after every new or opened configuration.
    virtual void OnInitialUpdate() {}

    bool UpdateCommand(int id, platform::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    // Says on the prompt line that characters the configuration file cannot hold were left out of
    // what was typed or pasted into one of the page's fields.
    void SayCharactersLeftOut();

  protected:
    PageHost* Host() const { return m_host; }
    // Undo, Cut, Copy and Paste, sent to whichever control has the keyboard focus; true when id is
    // one of the four.
    static bool SendEditCommand(int id);
    // Shows an open dialog owned by the page, starting in the configuration's folder (none: where Open
    // starts). None when cancelled.
    std::optional<QString> ChooseFileIn(platform::FileDialogRequest request, const QString& configFolder);
    // The chosen file as the configuration stores it. A file outside the configuration's folder, or
    // whose path below it is no DOS path, is refused with a message saying why (none then).
    static std::optional<MediumFile> MediumFileOf(const QString& chosen, const QString& configFolder);
    // Both: what the browse buttons do with a chosen file.
    std::optional<MediumFile> ChooseMediumFile(platform::FileDialogRequest request,
                                               const QString& configFolder);
    static bool IsEditCommand(int id);

  private:
    int m_pageId;
    PageHost* m_host;
};

} // namespace vl
