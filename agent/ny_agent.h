// The agent program's application object. It sits above every layer, in a
// directory of its own, because its start-up wires them together: the
// transports (CDevices, the dummy socket), the status windows' source and the
// tray applet of the user interface, and the monitoring core's window
// between them. Nothing includes this directory.
#pragma once

#include <memory>

#include "app/nyagent_app.h"

class CNySocket;

class CNyAgent : public CNyAgentApp {
public:
    CNyAgent();
    // The dummy socket is not freed: the process ends with it.
    ~CNyAgent() override;

protected:
    // A socket made once, never connected: it brings the socket layer up on
    // the main thread before any printer needs it.
    void FirstCallOfIsReachable() override;
    void RunAgent() override;

private:
    CNySocket* m_pDummySocket = nullptr;
    BOOL m_bDummySocketCreated = FALSE;
};
