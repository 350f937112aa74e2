#include <gtest/gtest.h>

#include <atomic>

#include "devices/threads/thread.h"
#include "framework/unique_handle.h"

namespace {

// A worker whose steps the test can count, hold and end.
class CProbeThread : public CThread {
public:
    explicit CProbeThread(DWORD dwPeriod, BOOL bBegin = TRUE) : CThread(dwPeriod), m_bBegin(bBegin) {}
    ~CProbeThread() override { Stop(); }

    // While held, a step waits in the middle until Release.
    void Hold() { ResetEvent(m_hRelease.Get()); }
    void Release() { SetEvent(m_hRelease.Get()); }
    bool WaitForStepStart(DWORD dwTimeOut) {
        return WaitForSingleObject(m_hInStep.Get(), dwTimeOut) == WAIT_OBJECT_0;
    }

    static DWORD WINAPI Destroy(void* pThread) {
        delete static_cast<CProbeThread*>(pThread);
        return 0;
    }

    std::atomic<int> m_nSteps{0};
    std::atomic<int> m_nEnds{0};

protected:
    BOOL Step() override {
        ++m_nSteps;
        SetEvent(m_hInStep.Get());
        WaitForSingleObject(m_hRelease.Get(), INFINITE);
        return TRUE;
    }
    BOOL OnBegin() override { return m_bBegin; }
    void OnEnd() override { ++m_nEnds; }

private:
    BOOL m_bBegin;
    CUniqueHandle m_hInStep{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    CUniqueHandle m_hRelease{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
};

} // namespace

TEST(Thread, EndsOnCloseOrARefusedBegin) {
    const struct {
        const char* pszWhat;
        DWORD dwPeriod;
        BOOL bBegin;
        bool bCloseInStep;
        int nSteps, nEnds;
    } cases[] = {{"close while waiting", 60000, TRUE, false, 0, 1},
                 {"close during a step: it ends right after", 1, TRUE, true, 1, 1},
                 {"begin refused: no step, no end", 1, FALSE, false, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CProbeThread thread(c.dwPeriod, c.bBegin);
        if (c.bCloseInStep)
            thread.Hold();
        ASSERT_TRUE(thread.Resume());
        if (c.bCloseInStep) {
            ASSERT_TRUE(thread.WaitForStepStart(5000));
        }
        thread.SignalClose();
        thread.Release();
        thread.WaitForEnd();
        EXPECT_EQ(c.nSteps, thread.m_nSteps);
        EXPECT_EQ(c.nEnds, thread.m_nEnds);
    }
}

TEST(Thread, DoesNothingUntilResumedAndNeverResumedIsDestroyedPromptly) {
    CProbeThread thread(1);
    Sleep(50);
    EXPECT_EQ(0, thread.m_nSteps);
    ASSERT_TRUE(thread.Resume());
    EXPECT_TRUE(thread.WaitForStepStart(5000));
    // Destroyed on a thread of its own, so that a wait that never ends fails
    // the test instead of hanging it.
    CUniqueHandle hDestroyer(
        CreateThread(nullptr, 0, CProbeThread::Destroy, new CProbeThread(60000), 0, nullptr));
    ASSERT_TRUE(hDestroyer);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(hDestroyer.Get(), 5000));
}
