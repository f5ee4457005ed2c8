#pragma once
// Resource numbers of Setup.exe, shared by res/setup.rc and the window system. Plain #defines:
// the resource compiler reads this file too.

#define IDR_MAINFRAME 128  // icon, menu, accelerator table and caption string of the main window

// Commands of the main window's menu and accelerators. The window has no handler for any of them:
// the menu is removed at start and the accelerators only swallow their keys.
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_SAVE 0xE103
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
