#include "sim/status_line.h"

#include "app/format.h"

namespace {

const char* ErrorClassName(std::uint32_t errorClass) {
    switch (errorClass) {
    case kErrorClassPrinter:
        return "printer";
    case kErrorClassConsumable:
        return "consumable";
    case kErrorClassSystem:
        return "system";
    case kErrorClassFile:
        return "file";
    case kErrorClassWireless:
        return "wireless";
    default:
        return "unknown";
    }
}

const char* DeviceStateName(std::uint8_t state) {
    switch (state) {
    case kStateInitialising:
    case kStateInitialising4:
    case kStateInitialising5:
    case kStateInitialising20:
    case kStateInitialising21:
        return "initialising";
    case kStateReady:
        return "ready";
    case kStateBusy:
        return "busy";
    case kStatePrinting:
    case kStatePrintingFlagged:
        return "printing";
    default:
        return "unknown";
    }
}

const char* PrintPhaseName(std::uint8_t phase) {
    static const char* const kNames[] = {"none",   "feed in", "cyan",     "magenta",
                                         "yellow", "coating", "feed out", "waiting"};
    return phase < sizeof(kNames) / sizeof(kNames[0]) ? kNames[phase] : "unknown";
}

} // namespace

std::string FormatStatusLine(std::uint64_t timeMs, const std::string& strPort, const CDeviceStatus& status) {
    const std::uint32_t code = status.GetStatusCode();
    std::string line =
        Format("%6llu ms %s state=%u (%s) phase=%u (%s) progress=%u%% code=0x%08X",
               static_cast<unsigned long long>(timeMs), strPort.c_str(),
               static_cast<unsigned>(status.GetDeviceState()), DeviceStateName(status.GetDeviceState()),
               static_cast<unsigned>(status.GetPrintPhase()), PrintPhaseName(status.GetPrintPhase()),
               static_cast<unsigned>(status.GetProgress()), code);
    std::uint32_t errorClass = kErrorClassUnknown;
    if (IsErrorCode(code, &errorClass))
        line +=
            Format(" (%s error%s)", ErrorClassName(errorClass), IsResumableError(code) ? ", resumable" : "");
    return line;
}
