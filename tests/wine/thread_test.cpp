#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "devices/threads/thread.h"
#include "framework/unique_handle.h"

namespace {

// A worker whose steps the test can count, hold and end.
class CProbeThread : public CThread {
public:
    CProbeThread(DWORD dwPeriod, BOOL bBegin = TRUE, int nStepsBeforeStop = -1)
        : CThread(dwPeriod), m_bBegin(bBegin), m_nStepsBeforeStop(nStepsBeforeStop) {}
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
    std::vector<DWORD> m_StepStarts;
    std::vector<DWORD> m_StepEnds;

protected:
    BOOL Step() override {
        m_StepStarts.push_back(GetTickCount());
        ++m_nSteps;
        SetEvent(m_hInStep.Get());
        WaitForSingleObject(m_hRelease.Get(), INFINITE);
        m_StepEnds.push_back(GetTickCount());
        return m_nStepsBeforeStop < 0 || m_nSteps < m_nStepsBeforeStop;
    }
    BOOL OnBegin() override { return m_bBegin; }
    void OnEnd() override { ++m_nEnds; }

private:
    BOOL m_bBegin;
    int m_nStepsBeforeStop;
    CUniqueHandle m_hInStep{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
    CUniqueHandle m_hRelease{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
};

} // namespace

TEST(Thread, EndsOnCloseOnAStepsWordOrARefusedBegin) {
    const struct {
        const char* pszWhat;
        DWORD dwPeriod;
        BOOL bBegin;
        int nStepsBeforeStop;
        bool bCloseInStep, bClose;
        int nSteps, nEnds;
    } cases[] = {{"close while waiting", 60000, TRUE, -1, false, true, 0, 1},
                 {"close during a step: it ends right after", 1, TRUE, -1, true, true, 1, 1},
                 {"a step asks to stop", 1, TRUE, 3, false, false, 3, 1},
                 {"begin refused: no step, no end", 1, FALSE, -1, false, false, 0, 0}};
    for (const auto& c : cases) {
        CProbeThread thread(c.dwPeriod, c.bBegin, c.nStepsBeforeStop);
        if (c.bCloseInStep)
            thread.Hold();
        ASSERT_TRUE(thread.Resume());
        if (c.bCloseInStep) {
            ASSERT_TRUE(thread.WaitForStepStart(5000));
        }
        if (c.bClose)
            thread.SignalClose();
        thread.Release();
        thread.WaitForEnd();
        EXPECT_EQ(c.nSteps, thread.m_nSteps) << c.pszWhat;
        EXPECT_EQ(c.nEnds, thread.m_nEnds) << c.pszWhat;
    }
}

TEST(Thread, PeriodCountsFromTheEndOfOneStepToTheStartOfTheNext) {
    const DWORD dwPeriod = 100;
    CProbeThread thread(dwPeriod, TRUE, 3);
    thread.Hold();
    ASSERT_TRUE(thread.Resume());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(thread.WaitForStepStart(5000));
        Sleep(150); // a slow step
        thread.Release();
        thread.Hold();
    }
    thread.Release();
    thread.WaitForEnd();
    ASSERT_EQ(3u, thread.m_StepStarts.size());
    // The system timer may fire a tick early; a slow step must still delay
    // the next one by a whole period.
    for (size_t i = 1; i < thread.m_StepStarts.size(); ++i)
        EXPECT_GE(thread.m_StepStarts[i] - thread.m_StepEnds[i - 1] + 16, dwPeriod) << "step " << i;
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
