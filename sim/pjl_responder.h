// How the simulated network printer answers a PJL request: the reply it
// would send for a request frame, in the printer's current state, and the
// ways it can be told to misbehave for tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/device_info.h"
#include "monitor/device_status.h"

enum class PjlMisbehaviour {
    None,
    Refuse,       // accepts no connection
    Silent,       // accepts, reads the request, never answers
    Slow,         // answers after a delay
    Split,        // answers in many small pieces
    WrongStamp,   // echoes another time stamp
    CloseEarly,   // sends half the reply, then closes the connection
    Garbage,      // a complete reply without any key the agent asks for
    Overflow,     // more than the agent's 4096-byte buffer, never finished
    Dribble,      // one byte every few milliseconds, never finished
    RefuseCommand // answers Cancel and Resume with a refusal code
};

// Parses "none", "refuse", "silent", "slow", "split", "wrong-stamp",
// "close-early", "garbage", "overflow", "dribble", "refuse-command".
bool ParsePjlMisbehaviour(std::string_view text, PjlMisbehaviour& misbehaviour);

enum class PjlCommand { Unknown, Status, Info, Cancel, Resume };

struct PjlRequestFrame {
    std::string strEcho; // the ECHO line, without its line break
    PjlCommand command = PjlCommand::Unknown;
};

// A frame is complete once the closing Universal Exit Language sequence
// follows the opening one.
bool IsPjlFrameComplete(std::string_view received);
PjlRequestFrame ParsePjlFrame(std::string_view frame);

// The information record a simulated printer reports.
DEVICE_INFO MakeSimInfo(const CDeviceStatus& status);

// The reply for a request, echo line first, closed by the Universal Exit
// Language sequence. Cancel and Resume answer 0 when the printer did what
// was asked (bCommandAccepted), the refusal code 2 otherwise.
std::string BuildPjlReply(const PjlRequestFrame& request, const CDeviceStatus& status, bool bCommandAccepted,
                          PjlMisbehaviour misbehaviour);
