#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "ui/status_window_policy.h"

using namespace status_window;

// Each row: the switches, the events in order, then whether the window shows
// and the error's timer runs. The timer expires only while it runs.
TEST(StatusWindowPolicy, OpensAndClosesOnlyForWhatOpenedIt) {
    using E = Event;
    const struct {
        bool bOnError, bWhenPrinting;
        std::vector<Event> events;
        bool bVisible, bTimer;
    } cases[] = {
        {true, false, {E::ErrorRaised}, true, true},
        {false, false, {E::ErrorRaised, E::JobStarted}, false, false},
        {true, false, {E::ErrorRaised, E::ErrorCleared}, false, false},
        {true, false, {E::ErrorRaised, E::TimerExpired}, false, false},
        {true, false, {E::ErrorRaised, E::UserOpened, E::TimerExpired, E::ErrorCleared}, true, false},
        {false, true, {E::JobStarted, E::JobEnded}, false, false},
        {false, true, {E::JobStarted, E::UserOpened, E::JobEnded}, true, false},
        {true, true, {E::JobStarted, E::UserHid, E::ErrorRaised, E::JobEnded}, true, true},
        {true, true, {E::JobStarted, E::ErrorRaised, E::ErrorCleared}, true, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CStatusWindowPolicy policy;
        bool bVisible = false, bTimer = false;
        for (const Event event : cases[i].events) {
            if (event == E::TimerExpired && !bTimer)
                continue;
            const Actions a = policy.On(event, {bVisible, cases[i].bOnError, cases[i].bWhenPrinting});
            bVisible = (bVisible || a.bShow || event == E::UserOpened) && !a.bHide;
            bTimer = (bTimer || a.bStartTimer) && !a.bKillTimer;
        }
        EXPECT_EQ(std::make_pair(cases[i].bVisible, cases[i].bTimer), std::make_pair(bVisible, bTimer)) << i;
    }
}
