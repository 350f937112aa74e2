#include "monitor/fleet/printer_snapshot.h"

#include <tuple>

bool CPrinterSnapshot::operator==(const CPrinterSnapshot& other) const {
    const auto fields = [](const CPrinterSnapshot& s) {
        return std::tie(s.strName, s.strPort, s.road, s.strModel, s.state, s.dwErrorCode, s.nTaskPercent,
                        s.nTotalPercent, s.strStateText, s.strAdvice);
    };
    return fields(*this) == fields(other);
}

const char* RoadName(PrinterRoad road) {
    switch (road) {
    case PrinterRoad::Usb:
        return "usb";
    case PrinterRoad::Network:
        return "network";
    case PrinterRoad::PrintPath:
        return "print-path";
    case PrinterRoad::None:
        break;
    }
    return "none";
}

const char* StateName(PrinterState state) {
    switch (state) {
    case PrinterState::Idle:
        return "idle";
    case PrinterState::Printing:
        return "printing";
    case PrinterState::Error:
        return "error";
    case PrinterState::NotConnected:
        break;
    }
    return "not_connected";
}
