// The agent's windows as another program on the same desktop sees them: the
// process that owns the tray's message window, its top-level windows, and the
// texts and buttons of their controls. Used by the demo's and the screenshot
// scripts' helper, which acts on the windows the way a user's clicks would.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace agentwin {

// Moves the calling thread to Wine's shell desktop when there is one, so that
// the agent's windows (started on that desktop) can be found; else it stays,
// and a later call tries again. True once the thread is there.
bool EnterShellDesktop();

// The process of the agent's tray message window; 0 while no agent runs.
DWORD FindAgentProcess();
// The tray message window itself, or null.
HWND FindTrayWindow();

// The agent's top-level windows, visible or not, in Z order.
std::vector<HWND> TopLevelWindows(DWORD dwProcessId);

// A printer's status window has the state line control.
bool IsStatusWindow(HWND hWnd);

// A window chosen by a selector:
//   "menu"            the open popup menu (class #32768)
//   "tray"            the shell's taskbar (Shell_TrayWnd)
//   "dialog:A,B,-C"   a visible window of the process that has controls A and B and no control C
//   anything else     the process's status window whose title or caption is that printer name
// Null when there is none.
HWND FindBySelector(const std::string& strSelector, DWORD dwProcessId);

// A window's or a control's text in UTF-8, read through WM_GETTEXT.
std::string WindowText(HWND hWnd);
std::string ClassName(HWND hWnd);
// The control's own visible style: true while it would show with its window.
bool IsControlShown(HWND hControl);

} // namespace agentwin
