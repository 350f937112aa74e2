#include "framework/nested_loop.h"

#include <utility>
#include <vector>

namespace {

struct PostedMessage {
    HWND hWnd;
    UINT nMessage;
    WPARAM wParam;
    LPARAM lParam;
};

struct ThreadState {
    CNestedLoop* pInnermost = nullptr;
    bool bEnding = false;
    std::vector<PostedMessage> deferred;
};

thread_local ThreadState t_state;

} // namespace

CNestedLoop::CNestedLoop(std::function<void()> fnEnd)
    : m_fnEnd(std::move(fnEnd)), m_pOuter(t_state.pInnermost) {
    t_state.pInnermost = this;
}

CNestedLoop::~CNestedLoop() {
    t_state.pInnermost = m_pOuter;
    if (m_pOuter)
        return;
    t_state.bEnding = false;
    std::vector<PostedMessage> deferred;
    deferred.swap(t_state.deferred);
    for (const PostedMessage& message : deferred)
        PostMessageA(message.hWnd, message.nMessage, message.wParam, message.lParam);
}

bool CNestedLoop::IsActive() {
    return t_state.pInnermost != nullptr;
}

bool CNestedLoop::IsEnding() {
    return t_state.bEnding;
}

void CNestedLoop::PostWhenUnnested(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (!IsActive()) {
        PostMessageA(hWnd, nMessage, wParam, lParam);
        return;
    }
    for (PostedMessage& message : t_state.deferred) {
        if (message.hWnd == hWnd && message.nMessage == nMessage) {
            message.wParam = wParam;
            message.lParam = lParam;
            return;
        }
    }
    t_state.deferred.push_back({hWnd, nMessage, wParam, lParam});
}

void CNestedLoop::EndAll() {
    if (!IsActive())
        return;
    t_state.bEnding = true;
    for (CNestedLoop* pLoop = t_state.pInnermost; pLoop; pLoop = pLoop->m_pOuter) {
        if (pLoop->m_fnEnd)
            pLoop->m_fnEnd();
    }
}

DWORD CNestedLoop::Wait(DWORD nCount, const HANDLE* pHandles, DWORD dwTimeOutMs) {
    bool bEnd = false;
    const CNestedLoop loop([&bEnd] { bEnd = true; });
    const DWORD dwStart = GetTickCount();
    while (!bEnd && !t_state.bEnding) {
        DWORD dwLeft = INFINITE;
        if (dwTimeOutMs != INFINITE) {
            const DWORD dwElapsed = GetTickCount() - dwStart;
            dwLeft = dwElapsed >= dwTimeOutMs ? 0 : dwTimeOutMs - dwElapsed;
        }
        const DWORD dwWait = MsgWaitForMultipleObjects(nCount, pHandles, FALSE, dwLeft, QS_ALLINPUT);
        if (dwWait != WAIT_OBJECT_0 + nCount)
            return dwWait;
        MSG msg;
        while (!bEnd && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return kWaitEnded;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return kWaitEnded;
}
