// Board entries for the fleet's tests: a printer on USB001 in a given state,
// its record signed; a printer in error carries dwCode, one not connected has
// its link down.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/status_entry.h"

inline CStatusEntry EntryIn(const std::string& strName, PrinterState state,
                            std::uint32_t dwCode = kErrorClassPrinter) {
    CStatusEntry entry;
    entry.strName = strName;
    entry.strPort = "USB001";
    entry.road = StatusRoad::Usb;
    entry.bConnected = state != PrinterState::NotConnected;
    entry.record.SetSignature();
    entry.record.SetDeviceState(state == PrinterState::Printing ? kStatePrinting : kStateReady);
    entry.record.SetStatusCode(state == PrinterState::Error ? dwCode : 0);
    return entry;
}
