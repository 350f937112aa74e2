// When a printer's status window opens and closes by itself. An error opens
// the hidden window when the user wants that, and starts the error's timer,
// which closes it again even while the error lasts; a job opens it when the
// user wants that. The end of the error or of the job closes the window only
// when that is what opened it. A window the user opened or hid forgets why it
// opened by itself: neither a left-over timer nor the end of an error or a
// job closes it. Platform-free: the window feeds in what happens and carries
// out the answer.
#pragma once

namespace status_window {

enum class Event {
    ErrorRaised,
    ErrorCleared,
    JobStarted,
    JobEnded,
    UserOpened,   // told right before the user's opening shows the window
    UserHid,      // OK, Close, Escape, Alt+F4
    TimerExpired, // the error's timer
};

// The window at the event, and the user's two switches.
struct Situation {
    bool bVisible = false;
    bool bOpenOnError = false;
    bool bOpenWhenPrinting = false;
};

// What the window does: shows itself without taking the activation, hides,
// starts or kills the error's timer.
struct Actions {
    bool bShow = false;
    bool bHide = false;
    bool bStartTimer = false;
    bool bKillTimer = false;
};

class CStatusWindowPolicy {
public:
    Actions On(Event event, const Situation& situation);

private:
    // Nothing closes the window by itself any more, and the timer goes.
    Actions ForgetWhyOpened(bool bHide);

    bool m_bOpenedOnError = false;
    bool m_bOpenedForJob = false;
};

} // namespace status_window
