// Status records and board entries for the status tests, and the JSON lines
// they are read back from.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/json/json_text.h"
#include "monitor/status_entry.h"

// A record with the fields the tests vary, unsigned.
inline CDeviceStatus Record(std::uint8_t nState, std::uint8_t nPhase, std::uint8_t nProgress,
                            std::uint32_t dwCode, std::uint8_t nWifi = 0) {
    CDeviceStatus record;
    record.SetDeviceState(nState);
    record.SetPrintPhase(nPhase);
    record.SetProgress(nProgress);
    record.SetStatusCode(dwCode);
    record.SetWifiState(nWifi);
    return record;
}

// A printer on USB001 (on the USB road unless told), its record signed. strState: idle, printing, error
// (with dwCode) or off (the link down).
inline CStatusEntry EntryIn(const std::string& strName, const std::string& strState,
                            std::uint32_t dwCode = kErrorClassPrinter, StatusRoad road = StatusRoad::Usb) {
    CStatusEntry entry;
    entry.strName = strName;
    entry.strPort = "USB001";
    entry.road = road;
    entry.bConnected = strState != "off";
    entry.record.SetSignature();
    entry.record.SetDeviceState(strState == "printing" ? kStatePrinting : kStateReady);
    entry.record.SetStatusCode(strState == "error" ? dwCode : 0);
    return entry;
}

// A JSON text read, expected to be valid.
inline CJsonValue Parsed(const std::string& strLine) {
    CJsonValue value;
    EXPECT_EQ(JsonError::None, ParseJson(strLine, value)) << strLine;
    return value;
}
