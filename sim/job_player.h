// Plays a scenario against the clock and the user's Cancel and Resume, and
// says at any moment which step the printer reports.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/scenario.h"

class CJobPlayer {
public:
    // A scenario without steps plays as a printer that stays ready.
    explicit CJobPlayer(Scenario steps);

    // Starts the job again from its beginning.
    void Restart();
    // Lets elapsedMs of time pass. The job stops at a held step however much
    // time passes, and takes no time while it is held.
    void Advance(std::uint32_t elapsedMs);
    // Ends the job: the printer is ready again. False when no job was running.
    bool Cancel();
    // Clears the current error when it is resumable and lets a held job go
    // on. False (and nothing changes) otherwise.
    bool Resume();

    // The job reached its last step, or was cancelled.
    bool IsDone() const;
    bool IsHeld() const { return m_bHeld; }
    // What the printer reports now; only the record fields are meaningful.
    const ScenarioStep& Current() const { return m_current; }
    // Time of the job: the time of the current step plus what passed since.
    std::uint64_t JobTimeMs() const { return m_jobTimeMs; }

private:
    Scenario m_steps;
    std::size_t m_next = 0; // first step not yet reached
    std::uint64_t m_jobTimeMs = 0;
    bool m_bHeld = false;
    bool m_bCancelled = false;
    ScenarioStep m_current;
};
