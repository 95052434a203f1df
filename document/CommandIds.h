// Identifiers of the program's commands, shared by the document, the pages and the main frame.
#pragma once

namespace vl::cmd
{

// The program's own commands.
inline constexpr int kViewGeneral = 32771;
inline constexpr int kViewProduct = 32772;
inline constexpr int kViewMisc = 32773;
inline constexpr int kEditAdd = 32774;
inline constexpr int kContextAdd = 32775;
inline constexpr int kEditRemove = 32776;
inline constexpr int kContextRemove = 32777;
inline constexpr int kEditRename = 32778;
inline constexpr int kContextRename = 32779;
inline constexpr int kPreview = 32780;
inline constexpr int kMoveUp = 32781;
inline constexpr int kMoveDown = 32782;

// The standard commands the menus and the toolbar use.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFileRecentFirst = 57616; // one per recent file, up to four
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpContents = 57670;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

} // namespace vl::cmd
