// One printer as the status board keeps it: what the agent knows of the
// printer at its last status change, copied out of the controller, the
// device and the status window's texts on the user-interface thread. The
// pipe server answers from copies of these and never reaches a device.
#pragma once

#include <string>

#include "monitor/device_status.h"

// How the agent reaches a printer's status.
enum class StatusRoad { None, Usb, Network, PrintPath };

struct CStatusEntry {
    std::string strName;
    std::string strPort;
    StatusRoad road = StatusRoad::None;
    // The device's link is up.
    bool bConnected = false;
    // The device's last record, as its record lock gave it.
    CDeviceStatus record;
    // The status window's state line and the line under it, in the agent's
    // language, as UTF-8.
    std::string strStateText;
    std::string strAdvice;
    // The status window's task and total percentages.
    int nTask = 0;
    int nTotal = 0;

    bool operator==(const CStatusEntry& other) const;
    bool operator!=(const CStatusEntry& other) const { return !(*this == other); }
};
