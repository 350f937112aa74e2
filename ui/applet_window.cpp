#include "ui/applet_window.h"

#include "app/trace.h"
#include "ui/task_bar_applet.h"

namespace {

constexpr char kClassName[] = "CNyTaskBarApplet";
constexpr char kWindowName[] = "Invisible Message Window";

// Sent by the shell when the taskbar is (re)created: every icon must be added again.
const UINT s_nTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");

} // namespace

CAppletWindow::~CAppletWindow() {
    if (m_hWnd) {
        m_bClosing = true;
        DestroyWindow(m_hWnd);
    }
}

BOOL CAppletWindow::Create(HINSTANCE hInstance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        DebugTrace("CAppletWindow::Create() : RegisterClass() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    if (!CreateWindowExA(0, kClassName, kWindowName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, hInstance, this)) {
        DebugTrace("CAppletWindow::Create() : CreateWindowEx() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK CAppletWindow::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_NCCREATE) {
        auto* pWindow = static_cast<CAppletWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        pWindow->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pWindow));
    }
    auto* pWindow = reinterpret_cast<CAppletWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pWindow)
        return DefWindowProcA(hWnd, nMessage, wParam, lParam);
    const LRESULT lResult = pWindow->OnMessage(nMessage, wParam, lParam);
    if (nMessage == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pWindow->m_hWnd = nullptr;
    }
    return lResult;
}

LRESULT CAppletWindow::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == CTaskBarApplet::GetAppletMessage()) {
        OnAppletMessage(wParam, lParam);
        return 0;
    }
    if (nMessage == s_nTaskbarCreated) {
        OnTaskbarCreated();
        return 0;
    }
    switch (nMessage) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_QUERYENDSESSION:
        // Nothing keeps the session from ending.
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            OnEndSession();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_COMMAND:
        OnMenuCommand(static_cast<UINT>(LOWORD(wParam)), lParam);
        return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (CTaskBarApplet::s_pMenuApplet &&
            CTaskBarApplet::s_pMenuApplet->OnOwnerDraw(m_hWnd, nMessage, lParam))
            return TRUE;
        break;
    default:
        break;
    }
    return DefWindowProcA(m_hWnd, nMessage, wParam, lParam);
}

void CAppletWindow::OnAppletMessage(WPARAM nId, LPARAM nCode) {
    try {
        CTaskBarApplet& applet = CTaskBarApplet::FindApplet(static_cast<unsigned>(nId));
        switch (nCode) {
        case WM_MOUSEMOVE:
            applet.OnMouseMove();
            break;
        case WM_LBUTTONDOWN:
            applet.OnLButtonDown();
            break;
        case WM_LBUTTONUP:
            applet.OnLButtonUp();
            break;
        case WM_LBUTTONDBLCLK:
            applet.OnLButtonDblClk();
            break;
        case WM_RBUTTONDOWN:
            applet.OnRButtonDown();
            break;
        case WM_RBUTTONUP:
            applet.OnRButtonUp();
            break;
        case WM_RBUTTONDBLCLK:
            applet.OnRButtonDblClk();
            break;
        default:
            // The icon's other mouse notifications (middle and extra buttons,
            // the wheel) mean nothing to an applet.
            if (nCode < WM_MOUSEFIRST || nCode > WM_MOUSELAST)
                applet.OnUnknownMessage(static_cast<UINT>(nCode));
            break;
        }
    } catch (const CTaskBarApplet::BadIndex&) {
        DebugTrace("CAppletWindow::OnAppletMessage() : no applet with id %d\n", static_cast<int>(nId));
    }
}

void CAppletWindow::OnDestroy() {
    // Posted by the monitor window to end the agent; the window itself goes
    // only when the loop is over.
    if (!m_bClosing)
        PostQuitMessage(0);
}

void CAppletWindow::OnEndSession() {
    // The process may end as soon as this returns.
    for (TLinkedClassIterator<CTaskBarApplet> it; it; ++it)
        it->OnEndSession();
}

void CAppletWindow::OnTaskbarCreated() {
    for (TLinkedClassIterator<CTaskBarApplet> it; it; ++it)
        it->AddIcon();
}

void CAppletWindow::OnMenuCommand(UINT nCommand, LPARAM nId) {
    try {
        CTaskBarApplet::FindApplet(static_cast<unsigned>(nId)).HandleMenuCommand(nCommand);
    } catch (const CTaskBarApplet::BadIndex&) {
        DebugTrace("CAppletWindow::OnMenuCommand() : no applet with id %d\n", static_cast<int>(nId));
    }
}

void CAppletWindow::OnTimer(WPARAM nId) {
    try {
        CTaskBarApplet::FindApplet(static_cast<unsigned>(nId)).OnTimer();
    } catch (const CTaskBarApplet::BadIndex&) {
        KillTimer(m_hWnd, nId);
    }
}
