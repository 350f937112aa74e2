// Nested loops of the user-interface thread: work deferred until the outermost
// one returns, Exit ending them, a quit passed on to the outer loop.
#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "framework/nested_loop.h"
#include "framework/unique_handle.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kDeferred = WM_APP + 11;
constexpr UINT kRunInside = WM_APP + 12;

// A message-only window that counts kDeferred and, on kRunInside, runs the
// test's action inside whatever loop dispatches it.
struct CProbeWindow {
    CProbeWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "NestedLoopProbe";
        RegisterClassA(&wc);
        hWnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                               nullptr);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CProbeWindow() { DestroyWindow(hWnd); }
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
        auto* pThis = reinterpret_cast<CProbeWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (pThis && nMessage == kDeferred) {
            ++pThis->nDeferred;
            pThis->bDeferredWhileNested = pThis->bDeferredWhileNested || CNestedLoop::IsActive();
            return 0;
        }
        if (pThis && nMessage == kRunInside) {
            pThis->fnInside();
            return 0;
        }
        return DefWindowProcA(hWnd, nMessage, wParam, lParam);
    }
    // Dispatches what is queued now.
    void Pump() const {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    HWND hWnd = nullptr;
    int nDeferred = 0;
    bool bDeferredWhileNested = false;
    std::function<void()> fnInside;
};

} // namespace

TEST(NestedLoop, DefersWorkUntilTheOutermostLoopReturnsAndPostsItOnce) {
    CProbeWindow probe;
    CUniqueHandle hNever(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE handles[] = {hNever.Get()};
    // Inside a wait, a handler defers twice and runs another wait of its own;
    // the work is posted once, after the outer wait.
    int nInner = 0;
    probe.fnInside = [&] {
        EXPECT_TRUE(CNestedLoop::IsActive());
        CNestedLoop::PostWhenUnnested(probe.hWnd, kDeferred);
        CNestedLoop::PostWhenUnnested(probe.hWnd, kDeferred);
        if (++nInner == 1) {
            EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), CNestedLoop::Wait(1, handles, 30));
        }
    };
    PostMessageA(probe.hWnd, kRunInside, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), CNestedLoop::Wait(1, handles, 200));
    EXPECT_FALSE(CNestedLoop::IsActive());
    EXPECT_EQ(0, probe.nDeferred);
    probe.Pump();
    EXPECT_EQ(1, probe.nDeferred);
    EXPECT_FALSE(probe.bDeferredWhileNested);
    // Without a nested loop the work is posted at once.
    CNestedLoop::PostWhenUnnested(probe.hWnd, kDeferred);
    probe.Pump();
    EXPECT_EQ(2, probe.nDeferred);
}

TEST(NestedLoop, ExitEndsWaitsAndModalDialogsAndAQuitReachesTheOuterLoop) {
    CProbeWindow probe;
    CUniqueHandle hSet(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    CUniqueHandle hNever(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE handles[] = {hNever.Get(), hSet.Get()};
    EXPECT_EQ(WAIT_OBJECT_0 + 1, CNestedLoop::Wait(2, handles, INFINITE));

    // EndAll from a handler inside a modal dialog inside a wait: both end,
    // and a dialog asked for while ending does not open.
    CDialog dialog(IDD_DIALOG_MONITOR);
    INT_PTR nModal = 0, nLate = 0;
    int nRuns = 0;
    probe.fnInside = [&] {
        if (++nRuns == 2) {
            CNestedLoop::EndAll();
            EXPECT_TRUE(CNestedLoop::IsEnding());
            return;
        }
        PostMessageA(probe.hWnd, kRunInside, 0, 0);
        nModal = dialog.DoModal(nullptr);
        CDialog late(IDD_DIALOG_MONITOR);
        nLate = late.DoModal(nullptr);
    };
    PostMessageA(probe.hWnd, kRunInside, 0, 0);
    EXPECT_EQ(CNestedLoop::kWaitEnded, CNestedLoop::Wait(1, handles, INFINITE));
    EXPECT_EQ(IDCANCEL, nModal);
    EXPECT_EQ(IDCANCEL, nLate);
    EXPECT_FALSE(CNestedLoop::IsEnding());

    // A quit ends the wait and is left for the loop outside it.
    PostQuitMessage(7);
    EXPECT_EQ(CNestedLoop::kWaitEnded, CNestedLoop::Wait(1, handles, INFINITE));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}
