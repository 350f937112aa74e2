// What the monitor window needs of the tray applet: the icon's state after
// each synchronisation, and the end of the agent when the global stop signal
// is seen. The applet implements it above the core.
#pragma once

class CTrayState {
public:
    // The icon states the monitor window sets.
    static constexpr int kStateNormal = 1;
    // Printers are installed and none is connected.
    static constexpr int kStateNoConnection = 2;

    virtual ~CTrayState() = default;

    virtual void SetState(int nState) = 0;
    // Posts WM_DESTROY to the tray framework's message window, whose answer
    // ends the agent's message loop.
    virtual void PostDestroy() = 0;

protected:
    CTrayState() = default;
    CTrayState(const CTrayState&) = delete;
    CTrayState& operator=(const CTrayState&) = delete;
};
