// Nested loops of the user-interface thread: work deferred until the outermost
// one returns, Exit ending them, a quit passed on to the outer loop.
#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "framework/nested_loop.h"
#include "framework/unique_handle.h"
#include "resources/resource_ids.h"
#include "tests/wine/run_later.h"

namespace {

constexpr UINT kDeferred = WM_APP + 11;

// A message-only window whose deferred work stays in the queue for Taken().
struct CQueueWindow {
    CQueueWindow()
        : hWnd(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~CQueueWindow() { DestroyWindow(hWnd); }
    // The deferred messages queued for the window, taken off the queue.
    int Taken() const {
        int nTaken = 0;
        for (MSG msg; PeekMessageA(&msg, hWnd, kDeferred, kDeferred, PM_REMOVE);)
            ++nTaken;
        return nTaken;
    }
    HWND hWnd;
};

} // namespace

TEST(NestedLoop, DefersWorkUntilTheOutermostLoopReturnsAndPostsItOnce) {
    const CQueueWindow window;
    CUniqueHandle hNever(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE handles[] = {hNever.Get()};
    // Inside a wait, a handler defers twice and runs another wait of its own;
    // the work is posted once, after the outer wait. Posted any sooner, a
    // loop would dispatch it to the window, which drops it.
    RunLater(0, [&] {
        EXPECT_TRUE(CNestedLoop::IsActive());
        CNestedLoop::PostWhenUnnested(window.hWnd, kDeferred);
        CNestedLoop::PostWhenUnnested(window.hWnd, kDeferred);
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), CNestedLoop::Wait(1, handles, 30));
    });
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), CNestedLoop::Wait(1, handles, 200));
    EXPECT_FALSE(CNestedLoop::IsActive());
    EXPECT_EQ(1, window.Taken());
    // Without a nested loop the work is posted at once.
    CNestedLoop::PostWhenUnnested(window.hWnd, kDeferred);
    EXPECT_EQ(1, window.Taken());
}

TEST(NestedLoop, ExitEndsWaitsAndModalDialogsAndAQuitReachesTheOuterLoop) {
    CUniqueHandle hSet(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    CUniqueHandle hNever(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE handles[] = {hNever.Get(), hSet.Get()};
    EXPECT_EQ(WAIT_OBJECT_0 + 1, CNestedLoop::Wait(2, handles, INFINITE));

    // EndAll from a handler inside a modal dialog inside a wait: both end,
    // and a dialog asked for while ending does not open.
    CDialog dialog(IDD_DIALOG_MONITOR);
    INT_PTR nModal = 0, nLate = 0;
    RunLater(0, [&] {
        RunLater(0, [] {
            CNestedLoop::EndAll();
            EXPECT_TRUE(CNestedLoop::IsEnding());
        });
        nModal = dialog.DoModal(nullptr);
        CDialog late(IDD_DIALOG_MONITOR);
        nLate = late.DoModal(nullptr);
    });
    EXPECT_EQ(CNestedLoop::kWaitEnded, CNestedLoop::Wait(1, handles, INFINITE));
    EXPECT_EQ(IDCANCEL, nModal);
    EXPECT_EQ(IDCANCEL, nLate);

    // A quit ends the wait and is left for the loop outside it.
    PostQuitMessage(7);
    EXPECT_EQ(CNestedLoop::kWaitEnded, CNestedLoop::Wait(1, handles, INFINITE));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}
