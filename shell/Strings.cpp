// The prompt strings of the commands.
#include "Strings.h"

#include "document/CommandIds.h"

#include <QHash>

namespace vl::strings
{

QString PromptString(int id)
{
    static const QHash<int, QString> prompts = {
        {cmd::kViewGeneral, QStringLiteral("Open the General page.")},
        {cmd::kViewProduct, QStringLiteral("Open the Product page.")},
        {cmd::kViewMisc, QStringLiteral("Open the Miscellaneous page.")},
        {cmd::kEditAdd, QStringLiteral("Add new item to the product list.")},
        {cmd::kEditRemove, QStringLiteral("Remove an item from the product list.")},
        {cmd::kEditRename, QStringLiteral("Rename the product list item.")},
        {cmd::kPreview, QStringLiteral("Preview the active document.\nPreview")},
        {cmd::kMoveUp, QStringLiteral("Move one level up.\nMove Up")},
        {cmd::kMoveDown, QStringLiteral("Move one level down.\nMove Down")},
        {cmd::kFileNew, QStringLiteral("Create a new document.\nNew")},
        {cmd::kFileOpen, QStringLiteral("Open an existing document.\nOpen")},
        {cmd::kFileSave, QStringLiteral("Save the active document.\nSave")},
        {cmd::kFileSaveAs, QStringLiteral("Save the active document with a new name.\nSave As")},
        {cmd::kFileRecentFirst, QStringLiteral("Open this document.")},
        {cmd::kFileRecentFirst + 1, QStringLiteral("Open this document")},
        {cmd::kFileRecentFirst + 2, QStringLiteral("Open this document")},
        {cmd::kFileRecentFirst + 3, QStringLiteral("Open this document")},
        {cmd::kEditCopy, QStringLiteral("Copy the selection and put it on the Clipboard.\nCopy")},
        {cmd::kEditCut, QStringLiteral("Cut the selection and put it on the Clipboard.\nCut")},
        {cmd::kEditPaste, QStringLiteral("Insert Clipboard contents.\nPaste")},
        {cmd::kEditUndo, QStringLiteral("Undo the last action.\nUndo")},
        {cmd::kAppAbout, QStringLiteral("Display program information, version number and copyright.\nAbout")},
        {cmd::kAppExit, QStringLiteral("Quit the application; prompts to save documents.\nExit")},
        {cmd::kViewToolbar, QStringLiteral("Show or hide the toolbar.\nToggle ToolBar")},
        {cmd::kViewStatusBar, QStringLiteral("Show or hide the status bar.\nToggle StatusBar")},
    };
    return prompts.value(id);
}

QString StatusPromptOf(int id)
{
    return PromptString(id).section(QLatin1Char('\n'), 0, 0);
}

QString TooltipOf(int id)
{
    const QString prompt = PromptString(id);
    return prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1) : QString();
}

} // namespace vl::strings
