// The main window's commands, one row each: menu item, keys, prompt and toolbar place.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>

namespace vl
{

// Where a command's keys act.
enum class KeyScope {
    Window, // anywhere in the main window
    Tree,   // the product tree takes them itself; the menu only shows them
};

struct Command {
    const char* menu;             // the title of the menu holding the item; none: no item of its own
    int id;                       // 0: a separator line
    const char* text = nullptr;   // the item's text, without its keys
    const char* keys = nullptr;   // "; " between keys; the menu shows the first
    int toolbarPlace = 0;         // counted from 1 along the toolbar, separators included; 0: none
    const char* prompt = nullptr; // the status-bar prompt, then "\n" and the tooltip when there is one
    const char* objectName = nullptr;
    KeyScope scope = KeyScope::Window;
};

// Every command, menus in order and each menu's items in order.
std::span<const Command> Commands();
const Command* FindCommand(int id);

QList<QKeySequence> KeysOf(const Command& command);
// The parts of a command's prompt: empty when it has none.
QString StatusPromptOf(int id);
QString TooltipOf(int id);

} // namespace vl
