// The tray framework's hidden "Invisible Message Window". Its object is bound
// to the window at WM_NCCREATE, and each message it handles goes to a member
// function of its own. It is a hidden top-level window rather than a
// message-only one, so that the shell's "TaskbarCreated" broadcast reaches it.
#pragma once

#include <windows.h>

class CAppletWindow {
public:
    CAppletWindow() = default;
    ~CAppletWindow();
    CAppletWindow(const CAppletWindow&) = delete;
    CAppletWindow& operator=(const CAppletWindow&) = delete;

    // Registers the class "CNyTaskBarApplet" and creates the hidden window.
    BOOL Create(HINSTANCE hInstance);
    HWND GetSafeHwnd() const { return m_hWnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);

    void OnAppletMessage(WPARAM nId, LPARAM nCode);
    void OnDestroy();
    void OnEndSession();
    void OnTaskbarCreated();
    void OnTimer(WPARAM nId);
    // A menu command handed back by PostMenuCommand; nId names the applet.
    void OnMenuCommand(UINT nCommand, LPARAM nId);

    HWND m_hWnd = nullptr;
    // The window is being destroyed for good: its WM_DESTROY ends nothing.
    bool m_bClosing = false;
};
