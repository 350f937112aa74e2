// One printer as the fleet's reporting sees it at a status change: where it
// is, how the agent reaches it, what it does, and the status window's texts.
// Every text is UTF-8. Platform-free.
#pragma once

#include <cstdint>
#include <string>

// How the agent reaches the printer's status.
enum class PrinterRoad { None, Usb, Network, PrintPath };

// What the printer does, in the order a status window gives precedence:
// a printer without a link is not connected, whatever its last record says.
enum class PrinterState { Idle, Printing, Error, NotConnected };

struct CPrinterSnapshot {
    std::string strName;
    std::string strPort;
    PrinterRoad road = PrinterRoad::None;
    std::string strModel;
    PrinterState state = PrinterState::NotConnected;
    // The record's status code; 0 without an error.
    std::uint32_t dwErrorCode = 0;
    // The status window's task and total bars, 0 to 100.
    int nTaskPercent = 0;
    int nTotalPercent = 0;
    // The status window's state line and the advice under it.
    std::string strStateText;
    std::string strAdvice;

    bool IsConnected() const { return state != PrinterState::NotConnected; }
    bool operator==(const CPrinterSnapshot& other) const;
    bool operator!=(const CPrinterSnapshot& other) const { return !(*this == other); }
};

// "usb", "network", "print-path", "none".
const char* RoadName(PrinterRoad road);
// "idle", "printing", "error", "not_connected".
const char* StateName(PrinterState state);
