// The agents running on this machine, in every session, as the package sees
// them before it removes or replaces the agent's files: a process with the
// agent's image name, or the global destruction event. That event lives as
// long as any process holds it, and an agent started while it still exists
// signalled ends at its first tick; so a new agent may start only once no old
// one runs and the event is gone.
#pragma once

#include <windows.h>

class CRunningAgents {
public:
    // TRUE while an agent process runs or the destruction event exists.
    BOOL Any() const;
    // Signals the destruction event, which every agent in every session
    // watches; without the event no agent runs and there is nothing to do.
    void AskAllToEnd() const;
    // Asks every dwPollMs until none runs; FALSE when dwTimeoutMs passed first.
    BOOL WaitUntilNone(DWORD dwTimeoutMs, DWORD dwPollMs) const;

private:
    BOOL IsAgentProcessRunning() const;
    BOOL DoesDestructionEventExist() const;
};
