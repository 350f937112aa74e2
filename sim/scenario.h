// A scenario: what a simulated printer reports, step by step, during one job.
//
// Script format: one step per line, five fields separated by blanks, and an
// optional marker:
//
//     # time  state  phase  progress  code        marker
//     0       1      0      0         0
//     500     3      1      0         0
//     2600    3      4      40        0x80000001  hold
//
// - time: milliseconds from the start of the job; never smaller than the
//   time of the step before (equal times follow each other at once);
// - state, phase, progress: the record's device state, print phase and
//   progress bytes, 0 to 255 (values outside the agent's tables are allowed
//   on purpose, to show how the agent copes with them);
// - code: the 32-bit status code;
// - "hold": the printer stops on this step, which must carry an error, until
//   the user acts: a Resume clears a resumable error and the job goes on from
//   this step's time, a Cancel ends the job. Time does not advance the job
//   while it is held, and a Resume of an error that is not resumable is
//   ignored, so such a hold lasts until a Cancel.
//
// Numbers are decimal or hexadecimal with "0x". A '#' starts a comment that
// runs to the end of the line; blank lines are ignored. Before its first step
// and after a Cancel the printer is ready (state 1, phase 0, no error).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/device_status.h"

struct ScenarioStep {
    std::uint32_t timeMs = 0;
    std::uint8_t state = kStateReady;
    std::uint8_t phase = kPhaseNone;
    std::uint8_t progress = 0;
    std::uint32_t code = 0;
    bool hold = false;
};

using Scenario = std::vector<ScenarioStep>;

// The record of a ready printer without a job.
ScenarioStep ReadyStep();

// Parses a script into steps. On failure returns false, leaves the steps
// empty and describes the first fault in strError, with its line number.
bool ParseScenario(const std::string& strText, Scenario& steps, std::string& strError);

// Reads and parses a script file of at most 1 MiB; errors start with the path.
bool LoadScenarioFile(const std::string& strPath, Scenario& steps, std::string& strError);
