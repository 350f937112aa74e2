// Work run later on the test's own thread, from whatever loop dispatches its
// messages then: the agent's loop, a modal dialog's or a nested wait's.
#pragma once

#include <functional>
#include <map>

#include <windows.h>

// Runs fnWork once, about nMs from now.
inline void RunLater(UINT nMs, std::function<void()> fnWork) {
    static std::map<UINT_PTR, std::function<void()>> s_work;
    const UINT_PTR nId = SetTimer(nullptr, 0, nMs, [](HWND, UINT, UINT_PTR nTimer, DWORD) {
        KillTimer(nullptr, nTimer);
        const std::function<void()> fnDue = std::move(s_work[nTimer]);
        s_work.erase(nTimer);
        fnDue();
    });
    s_work[nId] = std::move(fnWork);
}

// Once a top-level dialog box holding the control nControl is up (as seen
// from whatever loop dispatches then: usually the dialog's own), runs
// fnWhileOpen on it and presses its OK. Looks every 50 ms, for up to 10 s.
inline void WhenDialogShows(int nControl, std::function<void(HWND)> fnWhileOpen, int nLooks = 200) {
    RunLater(50, [=] {
        for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, "#32770", nullptr));)
            if (GetDlgItem(hWnd, nControl)) {
                fnWhileOpen(hWnd);
                PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                return;
            }
        if (nLooks > 1)
            WhenDialogShows(nControl, fnWhileOpen, nLooks - 1);
    });
}
