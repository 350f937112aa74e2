// Board entries for the fleet and status tests: a printer on USB001, its record signed.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/status_entry.h"

// strState: idle, printing, error (with dwCode) or off (the link down).
inline CStatusEntry EntryIn(const std::string& strName, const std::string& strState,
                            std::uint32_t dwCode = kErrorClassPrinter) {
    CStatusEntry entry;
    entry.strName = strName;
    entry.strPort = "USB001";
    entry.road = StatusRoad::Usb;
    entry.bConnected = strState != "off";
    entry.record.SetSignature();
    entry.record.SetDeviceState(strState == "printing" ? kStatePrinting : kStateReady);
    entry.record.SetStatusCode(strState == "error" ? dwCode : 0);
    return entry;
}
