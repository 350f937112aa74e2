// Status interpretation: turns the printer's current status into
// the status window's layout, texts and progress bars. The status window owns
// one and runs Display on every refresh message (0x416).
#pragma once

#include <cstdint>

#include "monitor/status_source.h"
#include "monitor/status_view.h"

// Task bar colours by pass (SetProgress step).
constexpr Colour kBarGreen = MakeColour(0, 128, 0);     // steps 0, 5 and any other
constexpr Colour kBarYellow = MakeColour(255, 255, 0);  // step 1
constexpr Colour kBarMagenta = MakeColour(255, 0, 255); // step 2
constexpr Colour kBarCyan = MakeColour(0, 255, 255);    // step 3
constexpr Colour kBarBrown = MakeColour(128, 64, 0);    // step 4

class CStatusDisplay {
public:
    // The status window's feed timer: refreshes the window while the printer
    // waits after the paper feed.
    static constexpr std::uint32_t kFeedTimerId = 2;
    static constexpr std::uint32_t kFeedTimerElapseMs = 5000;
    // SetProgress's number of steps: the four passes and the feed out.
    static constexpr int kSteps = 5;
    // How much the task bar creeps per refresh after the paper feed.
    static constexpr int kFeedCreep = 5;

    // Reads the device's current status and sets the view's layout, texts and
    // bars. Always returns 1 (the result of the refresh message).
    int Display(const CStatusSource& device, CStatusView& view);

    // Colours the task bar by step, sets the task bar to percent and the total
    // bar to (percent + 100 * step) * 100 / (100 * steps), truncated, and
    // shows each bar's read-back position, clamped to 0..100, as "%d%%".
    // nSteps must not be 0.
    void SetProgress(CStatusView& view, int nStep, int nSteps, int nPercent);

private:
    void ShowIdle(std::uint8_t nDeviceState, CStatusView& view);
    void ShowPhase(std::uint8_t nPhase, const CStatusSource& device, CStatusView& view);

    // The last print phase for which a phase layout was shown (1 to 6).
    std::uint8_t m_nLastPhase = 0;
    // The creeping task progress while the printer stays after the paper feed.
    std::int32_t m_nFeedProgress = 0;
    // No colour pass of the current job has started yet (chooses phase 7's text).
    bool m_bBeforeFirstPass = false;
};
