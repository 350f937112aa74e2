#include "ui/status_window_policy.h"

namespace status_window {

Actions CStatusWindowPolicy::On(Event event, const Situation& situation) {
    Actions actions;
    switch (event) {
    case Event::ErrorRaised:
        if (situation.bOpenOnError && !situation.bVisible) {
            actions.bShow = actions.bStartTimer = true;
            m_bOpenedOnError = true;
        }
        break;
    case Event::ErrorCleared:
        if (m_bOpenedOnError)
            return ForgetWhyOpened(true);
        actions.bKillTimer = true;
        break;
    case Event::JobStarted:
        if (situation.bOpenWhenPrinting && !situation.bVisible) {
            actions.bShow = true;
            m_bOpenedForJob = true;
        }
        break;
    case Event::JobEnded:
        if (m_bOpenedForJob)
            return ForgetWhyOpened(true);
        break;
    case Event::UserOpened:
        return ForgetWhyOpened(false);
    case Event::UserHid:
    case Event::TimerExpired:
        return ForgetWhyOpened(true);
    }
    return actions;
}

Actions CStatusWindowPolicy::ForgetWhyOpened(bool bHide) {
    m_bOpenedOnError = false;
    m_bOpenedForJob = false;
    Actions actions;
    actions.bHide = bHide;
    actions.bKillTimer = true;
    return actions;
}

} // namespace status_window
