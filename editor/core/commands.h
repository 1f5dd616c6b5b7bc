// The editor's command ids. Menus, accelerators, the toolbar, the status-bar
// prompts and the message-box buttons all name commands by these numbers.
#pragma once

namespace calyx::editor::command {

// Message-box answers, which are also the ids of the buttons that give them.
inline constexpr int ok = 1;
inline constexpr int cancel = 2;
inline constexpr int yes = 6;
inline constexpr int no = 7;

// What the status bar shows when idle, and in help mode.
inline constexpr int idlePrompt = 57345;
inline constexpr int helpModePrompt = 57346;

inline constexpr int fileNew = 57600;
inline constexpr int fileOpen = 57601;
inline constexpr int fileClose = 57602;
inline constexpr int fileSave = 57603;
inline constexpr int fileSaveAs = 57604;
inline constexpr int fileSaveAll = 57605;
inline constexpr int filePrintSetup = 57606;
inline constexpr int filePrint = 57607;
// Print without asking for a printer (the toolbar's way).
inline constexpr int filePrintDirect = 57608;
inline constexpr int filePrintPreview = 57609;
// The recent-file items take the ids from the first to the last, in order.
inline constexpr int recentFileFirst = 57616;
inline constexpr int recentFileLast = 57631;

inline constexpr int editClear = 57632;
inline constexpr int editClearAll = 57633;
inline constexpr int editCopy = 57634;
inline constexpr int editCut = 57635;
inline constexpr int editFind = 57636;
inline constexpr int editPaste = 57637;
inline constexpr int editRepeat = 57640;
inline constexpr int editReplace = 57641;
inline constexpr int editSelectAll = 57642;
inline constexpr int editUndo = 57643;
inline constexpr int editRedo = 57644;

inline constexpr int windowNew = 57648;
inline constexpr int windowArrange = 57649;
inline constexpr int windowCascade = 57650;
inline constexpr int windowTileHorizontally = 57651;
inline constexpr int windowTileVertically = 57652;
inline constexpr int windowSplit = 57653;

inline constexpr int appAbout = 57664;
inline constexpr int appExit = 57665;
inline constexpr int helpIndex = 57666;
inline constexpr int helpTopics = 57667;
inline constexpr int helpUsing = 57668;
inline constexpr int contextHelp = 57669;
inline constexpr int help = 57670;
inline constexpr int defaultHelp = 57671;

inline constexpr int nextPane = 57680;
inline constexpr int previousPane = 57681;

inline constexpr int viewToolbar = 59392;
inline constexpr int viewStatusBar = 59393;

}  // namespace calyx::editor::command
