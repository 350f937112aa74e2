// A dialog created from a template, modeless (Create) or modal (DoModal), with
// its messages dispatched to one virtual handler of the object that owns the window.
#pragma once

#include <windows.h>

class CDialog {
public:
    explicit CDialog(UINT nTemplateId);
    // Destroys the window if it still exists.
    virtual ~CDialog();

    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog from its template in hResources (the program's own
    // module when null), hidden unless the template says WS_VISIBLE. FALSE when
    // the window could not be created or already exists; the caller traces it.
    BOOL Create(HWND hParent, HINSTANCE hResources = nullptr);
    // Runs the dialog modally and returns the value given to EndDialog, or -1
    // when the window could not be created or already exists. IDOK and
    // IDCANCEL commands that OnMessage leaves unhandled end it with their id.
    // It runs as a nested loop that Exit ends with IDCANCEL.
    INT_PTR DoModal(HWND hParent, HINSTANCE hResources = nullptr);
    // Ends a modal dialog with nResult as DoModal's answer.
    void EndDialog(int nResult);
    // Destroys the window once; later calls do nothing. Not for a modal dialog.
    void DestroyWindow();
    // Null before Create and after the window's destruction.
    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL PostMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR nId, UINT nElapseMs);
    BOOL KillTimer(UINT_PTR nId);

protected:
    // WM_INITDIALOG, once the window is bound to this object. TRUE lets the
    // system give the focus to the first control.
    virtual BOOL OnInitDialog();
    // Every message after WM_INITDIALOG. TRUE when handled, with lResult the
    // message's answer; FALSE lets the default dialog handling run.
    virtual BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    // The window is gone (WM_NCDESTROY); the object lives on.
    virtual void OnDestroyed() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    UINT m_nTemplateId;
    bool m_bModal = false;
};
