// The texts of the menus, the toolbar and the status bar, and the prompt strings of the commands.
#pragma once

#include <QString>

namespace vl::strings
{

inline constexpr const char* kWindowTitle = "Salvage Deck Configuration Utility";
inline constexpr const char* kReady = "Ready";

// The prompt string of a command: the status-bar prompt, then "\n" and the tooltip. Empty when the
// command has none.
QString PromptString(int id);
QString StatusPromptOf(int id);
QString TooltipOf(int id);

} // namespace vl::strings
