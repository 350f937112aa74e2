// The user-interface thread's nested message loops: a request that keeps the
// thread's messages flowing while it waits for a printer, a modal dialog, a
// common dialog. Messages dispatched inside such a loop may run handlers that
// would delete what the code waiting below still uses (a printer-set update,
// a printer's removal, Exit). Those handlers ask IsActive first and, while a
// nested loop runs, hand their work to PostWhenUnnested instead: it is posted
// once the outermost nested loop has returned. Exit also asks every running
// loop to end (EndAll), so it is carried out promptly.
//
// The state is the calling thread's own: a polling thread that waits the same
// way never defers the user-interface thread's work.
#pragma once

#include <functional>

#include <windows.h>

class CNestedLoop {
public:
    // fnEnd asks this loop to end soon (ends a dialog, abandons a request);
    // it may be empty for a loop that ends by itself.
    explicit CNestedLoop(std::function<void()> fnEnd = {});
    // The last loop to go posts the deferred messages.
    ~CNestedLoop();

    CNestedLoop(const CNestedLoop&) = delete;
    CNestedLoop& operator=(const CNestedLoop&) = delete;

    // A nested loop runs on this thread.
    static bool IsActive();
    // EndAll was called and a nested loop still runs: new waits and dialogs
    // return at once.
    static bool IsEnding();
    // Posts the message now when no nested loop runs, otherwise once the
    // outermost one has returned. The same window and message are posted once.
    static void PostWhenUnnested(HWND hWnd, UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0);
    // Asks every running nested loop of this thread to end.
    static void EndAll();

    // The outcome of Wait that is none of the handles.
    static constexpr DWORD kWaitEnded = WAIT_IO_COMPLETION;
    // Waits for one of nCount handles (WaitForMultipleObjects's answers for
    // them, WAIT_TIMEOUT or WAIT_FAILED) while dispatching the thread's
    // messages, as a nested loop. kWaitEnded when EndAll asked it to end or a
    // WM_QUIT arrived; the WM_QUIT is posted again for the outer loop.
    static DWORD Wait(DWORD nCount, const HANDLE* pHandles, DWORD dwTimeOutMs);

private:
    std::function<void()> m_fnEnd;
    CNestedLoop* m_pOuter;
};
