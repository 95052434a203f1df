// The main window's commands, one row each: menu item, keys, prompt and toolbar place.
#include "CommandTable.h"

#include "document/CommandIds.h"

namespace vl
{

namespace
{

constexpr const char* kFile = "&File";
constexpr const char* kEdit = "&Edit";
constexpr const char* kView = "&View";
constexpr const char* kHelp = "&Help";

using namespace cmd;

// The recent-file entries stand where the File menu's placeholder stands; the first takes its prompt.
constexpr Command kCommands[] = {
    // menu, id, text, keys, toolbar place, prompt, object name
    {kFile, kFileNew, "&New", "Ctrl+N", 1, "Create a new document.\nNew", "newAction"},
    {kFile, kFileOpen, "&Open...", "Ctrl+O", 2, "Open an existing document.\nOpen", "openAction"},
    {kFile, kFileSave, "&Save", "Ctrl+S", 3, "Save the active document.\nSave", "saveAction"},
    {kFile, kFileSaveAs, "Save &As...", "", 0, "Save the active document with a new name.\nSave As",
     "saveAsAction"},
    {kFile, 0},
    {kFile, kPreview, "&Preview", "F5", 0, "Preview the active document.\nPreview", "previewAction"},
    {kFile, 0},
    {kFile, kFileRecentFirst, "Recent File", "", 0, "Open this document.", "recentFileAction"},
    {kFile, 0},
    {kFile, kAppExit, "E&xit", "", 0, "Quit the application; prompts to save documents.\nExit", "exitAction"},
    {kEdit, kEditUndo, "&Undo", "Ctrl+Z; Alt+Backspace", 0, "Undo the last action.\nUndo", "undoAction"},
    {kEdit, 0},
    {kEdit, kEditCut, "Cu&t", "Ctrl+X; Shift+Del", 5, "Cut the selection and put it on the Clipboard.\nCut",
     "cutAction"},
    {kEdit, kEditCopy, "&Copy", "Ctrl+C; Ctrl+Ins", 6,
     "Copy the selection and put it on the Clipboard.\nCopy", "copyAction"},
    {kEdit, kEditPaste, "&Paste", "Ctrl+V; Shift+Ins", 7, "Insert Clipboard contents.\nPaste", "pasteAction"},
    {kEdit, 0},
    {kEdit, kEditAdd, "&Add", "Ins", 0, "Add new item to the product list.", "addAction", KeyScope::Tree},
    {kEdit, kEditRemove, "&Remove", "Del", 0, "Remove an item from the product list.", "removeAction",
     KeyScope::Tree},
    {kEdit, kEditRename, "Rena&me", "F2", 0, "Rename the product list item.", "renameAction"},
    {kEdit, 0},
    {kEdit, kMoveUp, "Move &Up", "", 9, "Move one level up.\nMove Up", "moveUpAction"},
    {kEdit, kMoveDown, "Move &Down", "", 10, "Move one level down.\nMove Down", "moveDownAction"},
    {kView, kViewToolbar, "&Toolbar", "", 0, "Show or hide the toolbar.\nToggle ToolBar", "toolbarAction"},
    {kView, kViewStatusBar, "&Status Bar", "", 0, "Show or hide the status bar.\nToggle StatusBar",
     "statusBarAction"},
    {kView, 0},
    {kView, kViewGeneral, "&General", "", 0, "Open the General page.", "generalAction"},
    {kView, kViewProduct, "&Product", "", 0, "Open the Product page.", "productAction"},
    {kView, kViewMisc, "&Miscellaneous", "", 0, "Open the Miscellaneous page.", "miscAction"},
    {kHelp, kHelpContents, "&Contents...", "", 12, "", "helpContentsAction"},
    {kHelp, 0},
    {kHelp, kAppAbout, "&About Salvage Deck", "", 0,
     "Display program information, version number and copyright.\nAbout", "aboutAction"},
    // Keys without a menu item: this window has no panes, so nothing takes these two commands.
    {nullptr, kNextPane, nullptr, "F6", 0, "", "nextPaneAction"},
    {nullptr, kPrevPane, nullptr, "Shift+F6", 0, "", "previousPaneAction"},
    // The prompts of the second to fourth recent-file entries.
    {nullptr, kFileRecentFirst + 1, nullptr, "", 0, "Open this document"},
    {nullptr, kFileRecentFirst + 2, nullptr, "", 0, "Open this document"},
    {nullptr, kFileRecentFirst + 3, nullptr, "", 0, "Open this document"},
};

} // namespace

std::span<const Command> Commands()
{
    return kCommands;
}

const Command* FindCommand(int id)
{
    for (const Command& command : kCommands) {
        if (command.id == id && id != 0)
            return &command;
    }
    return nullptr;
}

QList<QKeySequence> KeysOf(const Command& command)
{
    QList<QKeySequence> keys = QKeySequence::listFromString(QString::fromLatin1(command.keys));
    keys.removeAll(QKeySequence());
    return keys;
}

QString StatusPromptOf(int id)
{
    const Command* command = FindCommand(id);
    return command ? QString::fromLatin1(command->prompt).section(QLatin1Char('\n'), 0, 0) : QString();
}

QString TooltipOf(int id)
{
    const Command* command = FindCommand(id);
    const QString prompt = command ? QString::fromLatin1(command->prompt) : QString();
    return prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1) : QString();
}

} // namespace vl
