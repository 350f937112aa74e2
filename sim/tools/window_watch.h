// Follows what the agent shows and tells it as short lines: a status window
// that opens or closes, its state line, detail line and buttons when they
// change (also while it is hidden), and the dialogs and the tray menu that
// open and close.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <windows.h>

class CWindowWatch {
public:
    // One look at the agent's windows; the lines that describe what changed
    // since the last look. The first look tells every status window's state.
    std::vector<std::string> Poll(DWORD dwProcessId);

private:
    struct Seen {
        bool bVisible = false;
        bool bStatus = false;
        std::string strName;
        std::string strShown; // state, detail and buttons as one line
    };

    static Seen LookAt(HWND hWnd);
    static std::string StatusLine(HWND hWnd);
    static std::string DialogName(HWND hWnd);

    std::map<HWND, Seen> m_seen;
};
