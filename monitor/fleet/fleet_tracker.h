// What changed in the printer set since the board was last read, as the event
// log tells it: a printer connected or disconnected, an error raised or
// cleared, at most one event of each kind per printer and reading. It also
// counts each printer's errors and remembers its model. A printer without a
// link keeps the error it had: a printer unplugged in error and plugged in
// again with the same error raises nothing new. A printer that leaves the set
// raises nothing, and its count goes with it. Platform-free.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "monitor/status_entry.h"

enum class FleetEventKind { Connected, Disconnected, ErrorRaised, ErrorCleared };

struct CFleetEvent {
    FleetEventKind kind;
    CStatusEntry printer;
};

class CFleetTracker {
public:
    // The events of the printers in their set's order; for one printer a
    // connection comes before its error, an error cleared before its
    // disconnection. A new error code while in error is a new error.
    std::vector<CFleetEvent> Update(const std::vector<CStatusEntry>& printers);
    // The errors raised by that printer since it joined the set.
    std::uint64_t GetErrorsTotal(const std::string& strName) const;
    // The model named by the printer's last connected record that named one,
    // so that a printer keeps its series while it is away; empty before that.
    std::string GetModel(const std::string& strName) const;

private:
    struct CLast {
        bool bConnected = false;
        bool bError = false;
        std::uint32_t dwErrorCode = 0;
        std::uint64_t nErrors = 0;
        std::string strModel;
    };
    std::map<std::string, CLast> m_printers;
};
