#include "monitor/status_entry.h"

bool CStatusEntry::operator==(const CStatusEntry& other) const {
    return strName == other.strName && strPort == other.strPort && road == other.road &&
           bConnected == other.bConnected && record == other.record &&
           record.GetWifiState() == other.record.GetWifiState() && strStateText == other.strStateText &&
           strAdvice == other.strAdvice && nTask == other.nTask && nTotal == other.nTotal;
}

const char* RoadName(StatusRoad road) {
    switch (road) {
    case StatusRoad::Usb:
        return "usb";
    case StatusRoad::Network:
        return "network";
    case StatusRoad::PrintPath:
        return "print-path";
    case StatusRoad::None:
        break;
    }
    return "none";
}

PrinterState StateOfEntry(const CStatusEntry& entry) {
    if (!entry.bConnected || !entry.record.IsValid())
        return PrinterState::NotConnected;
    if (entry.record.IsError(nullptr))
        return PrinterState::Error;
    if (entry.record.IsPrinting(nullptr) || entry.record.GetDeviceState() != kStateReady)
        return PrinterState::Printing;
    return PrinterState::Idle;
}

std::uint32_t ErrorCodeOfEntry(const CStatusEntry& entry) {
    return StateOfEntry(entry) == PrinterState::Error ? entry.record.GetStatusCode() : 0;
}
