// A small framework for notification-area applets. Every applet is a live
// instance of TLinkedClass<CTaskBarApplet>, whose id is also its icon's id; one
// hidden message window receives the icons' mouse notifications through the
// registered message "CTaskBarAppletMessage", and RunMessageLoop adds the
// icons, pumps the thread's messages until WM_QUIT and removes them again.
#pragma once

#include <string>

#include <windows.h>

#include "ui/linked_class.h"

class CTaskBarApplet : public TLinkedClass<CTaskBarApplet> {
public:
    CTaskBarApplet();
    virtual ~CTaskBarApplet();

    // The message through which the icons report mouse events: wParam is the
    // icon's id, lParam the mouse message.
    static UINT GetAppletMessage();
    // Posts to the message window; FALSE when it does not exist.
    static BOOL PostAppletMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);
    // The message window, null outside RunMessageLoop.
    static HWND GetMessageWindow();
    // Creates the message window, gives pszArgument to every applet's OnInit,
    // adds the icons and pumps messages until WM_QUIT; its exit code, or 1 when
    // the window cannot be made, there is no applet or an OnInit fails.
    static int RunMessageLoop(HINSTANCE hInstance, const char* pszArgument);
    // The live applet with that id; throws BadIndex when none has it.
    static CTaskBarApplet& FindApplet(unsigned nId) { return Find(nId); }

    // Removes the icon; the last running applet to quit ends the loop (exit
    // code 0). Later calls only remove the icon.
    void Quit();

    // The notification-area record of this applet added, modified, deleted.
    // TRUE when the shell took it.
    BOOL AddIcon();
    BOOL UpdateIcon();
    BOOL DeleteIcon();

    // Shows CreateMenu's menu at the cursor and hands the choice (0 when
    // dismissed) to HandleMenuCommand.
    void ShowMenu();

    // Mouse events of the icon, and anything else the icon reports.
    virtual void OnLButtonDown() {}
    virtual void OnLButtonUp() {}
    virtual void OnRButtonDown() {}
    virtual void OnRButtonUp() { ShowMenu(); }
    virtual void OnLButtonDblClk() {}
    virtual void OnRButtonDblClk() {}
    virtual void OnMouseMove() {}
    virtual void OnUnknownMessage(UINT nCode);
    // The applet's timer (SetTimer) went off.
    virtual void OnTimer() {}
    // The user's session ends: the process may end as soon as this returns,
    // without the loop's end, so what must outlive it is done here.
    virtual void OnEndSession() {}
    // WM_MEASUREITEM and WM_DRAWITEM while this applet's menu shows; TRUE when
    // the applet drew the item.
    virtual BOOL OnOwnerDraw(HWND, UINT, LPARAM) { return FALSE; }

protected:
    virtual std::string GetTip() const = 0;
    virtual HICON GetIcon() = 0;
    // A new popup menu with the single item "&Close" (command 1).
    virtual HMENU CreateMenu();
    virtual void DestroyMenu(HMENU hMenu);
    virtual BOOL OnInit(const char* pszArgument);
    // Command 1: Quit.
    virtual void HandleMenuCommand(UINT nCommand);

    // Starts the applet's timer on the message window, every nElapseMs.
    BOOL SetTimer(UINT nElapseMs);
    // Hands nCommand to HandleMenuCommand again from the message loop, once no
    // nested loop runs on this thread.
    void PostMenuCommand(UINT nCommand);

private:
    friend class CAppletWindow;

    // The longest tip the record holds, with its terminating zero.
    static constexpr std::size_t kTipSize = 64;

    BOOL NotifyIcon(DWORD dwMessage);

    bool m_bQuit = false;
    // The applet whose menu shows; it gets the menu's owner-draw messages.
    static CTaskBarApplet* s_pMenuApplet;
    static HWND s_hWnd;
    static HINSTANCE s_hInstance;
    static int s_nRunning;
};
