#include "ui/task_bar_applet.h"

#include <shellapi.h>

#include <cstring>

#include "app/trace.h"
#include "framework/nested_loop.h"
#include "ui/applet_window.h"

namespace {

// Registered once, when the program starts.
const UINT s_nAppletMessage = RegisterWindowMessageA("CTaskBarAppletMessage");

constexpr UINT kCommandClose = 1;

} // namespace

CTaskBarApplet* CTaskBarApplet::s_pMenuApplet = nullptr;
HWND CTaskBarApplet::s_hWnd = nullptr;
HINSTANCE CTaskBarApplet::s_hInstance = nullptr;
int CTaskBarApplet::s_nRunning = 0;

CTaskBarApplet::CTaskBarApplet() {
    ++s_nRunning;
}

CTaskBarApplet::~CTaskBarApplet() {
    // An applet that goes without quitting no longer counts as running.
    if (!m_bQuit)
        --s_nRunning;
    if (s_pMenuApplet == this)
        s_pMenuApplet = nullptr;
}

UINT CTaskBarApplet::GetAppletMessage() {
    return s_nAppletMessage;
}

BOOL CTaskBarApplet::PostAppletMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    return s_hWnd && PostMessageA(s_hWnd, nMessage, wParam, lParam);
}

HWND CTaskBarApplet::GetMessageWindow() {
    return s_hWnd;
}

int CTaskBarApplet::RunMessageLoop(HINSTANCE hInstance, const char* pszArgument) {
    s_hInstance = hInstance;
    CAppletWindow window;
    if (!window.Create(hInstance))
        return 1;
    s_hWnd = window.GetSafeHwnd();
    ShowWindow(s_hWnd, SW_HIDE);
    UpdateWindow(s_hWnd);
    int nExitCode = 1;
    // Without an applet nothing could ever end the loop.
    if (!IsEmpty()) {
        bool bInitialised = true;
        for (TLinkedClassIterator<CTaskBarApplet> it; it && bInitialised; ++it)
            bInitialised = it->OnInit(pszArgument) != FALSE;
        if (bInitialised) {
            for (TLinkedClassIterator<CTaskBarApplet> it; it; ++it)
                it->AddIcon();
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            nExitCode = static_cast<int>(msg.wParam);
            for (TLinkedClassIterator<CTaskBarApplet> it; it; ++it)
                it->DeleteIcon();
        }
    }
    s_hWnd = nullptr;
    return nExitCode;
}

void CTaskBarApplet::Quit() {
    DeleteIcon();
    if (m_bQuit)
        return;
    m_bQuit = true;
    if (--s_nRunning == 0)
        PostQuitMessage(0);
}

BOOL CTaskBarApplet::NotifyIcon(DWORD dwMessage) {
    // The first version of the record, which every shell takes.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = s_hWnd;
    data.uID = GetId();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = s_nAppletMessage;
    data.hIcon = GetIcon();
    const std::string strTip = GetTip();
    const char* pszTip = strTip.size() < kTipSize ? strTip.c_str() : "Error: Tip too long!";
    std::memcpy(data.szTip, pszTip, std::strlen(pszTip) + 1);
    return Shell_NotifyIconA(dwMessage, &data);
}

BOOL CTaskBarApplet::AddIcon() {
    return NotifyIcon(NIM_ADD);
}

BOOL CTaskBarApplet::UpdateIcon() {
    return NotifyIcon(NIM_MODIFY);
}

BOOL CTaskBarApplet::DeleteIcon() {
    return NotifyIcon(NIM_DELETE);
}

void CTaskBarApplet::ShowMenu() {
    const HMENU hMenu = CreateMenu();
    if (hMenu) {
        POINT ptCursor{};
        GetCursorPos(&ptCursor);
        // A notification icon's menu closes when the user clicks elsewhere
        // only if its owner is the foreground window while it shows, and the
        // message posted afterwards lets the next right click open it again.
        SetForegroundWindow(s_hWnd);
        s_pMenuApplet = this;
        const UINT nCommand = static_cast<UINT>(TrackPopupMenu(hMenu, TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                               ptCursor.x, ptCursor.y, 0, s_hWnd, nullptr));
        s_pMenuApplet = nullptr;
        PostMessageA(s_hWnd, WM_NULL, 0, 0);
        HandleMenuCommand(nCommand);
    }
    DestroyMenu(hMenu);
}

void CTaskBarApplet::OnUnknownMessage(UINT) {
    MessageBoxA(s_hWnd, "Unknown Message", "Odd", MB_ICONINFORMATION);
}

HMENU CTaskBarApplet::CreateMenu() {
    const HMENU hMenu = CreatePopupMenu();
    if (hMenu)
        AppendMenuA(hMenu, MF_STRING, kCommandClose, "&Close");
    return hMenu;
}

void CTaskBarApplet::DestroyMenu(HMENU hMenu) {
    if (hMenu)
        ::DestroyMenu(hMenu);
}

BOOL CTaskBarApplet::OnInit(const char*) {
    return TRUE;
}

void CTaskBarApplet::HandleMenuCommand(UINT nCommand) {
    if (nCommand == kCommandClose)
        Quit();
}

BOOL CTaskBarApplet::SetTimer(UINT nElapseMs) {
    if (s_hWnd && ::SetTimer(s_hWnd, GetId(), nElapseMs, nullptr))
        return TRUE;
    DebugTrace("CTaskBarApplet::SetTimer() : SetTimer() failed. GetLastError() = %d\n",
               static_cast<int>(GetLastError()));
    return FALSE;
}

void CTaskBarApplet::PostMenuCommand(UINT nCommand) {
    if (s_hWnd)
        CNestedLoop::PostWhenUnnested(s_hWnd, WM_COMMAND, nCommand, static_cast<LPARAM>(GetId()));
}
