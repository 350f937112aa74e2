#include "monitor/status_answer.h"

#include <cstring>

#include "app/json/json_text.h"
#include "monitor/models.h"

namespace {

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

const char* PhaseName(std::uint8_t nPhase) {
    static const char* const kNames[] = {"none",   "feed-in", "cyan",     "magenta",
                                         "yellow", "coating", "feed-out", "waiting"};
    return nPhase < sizeof(kNames) / sizeof(kNames[0]) ? kNames[nPhase] : "unknown";
}

CJsonValue TextOrNull(const std::string& str) {
    return str.empty() ? CJsonValue() : CJsonValue::String(str);
}

CJsonValue Answer(const char* pszAnswer) {
    CJsonValue answer = CJsonValue::Object();
    answer.Set("version", CJsonValue::Number(kStatusProtocolVersion));
    answer.Set("answer", CJsonValue::String(pszAnswer));
    return answer;
}

CJsonValue PrinterArray(const std::vector<CStatusEntry>& entries) {
    CJsonValue printers = CJsonValue::Array();
    for (const CStatusEntry& entry : entries)
        printers.Push(EncodePrinter(entry));
    return printers;
}

std::string Line(const CJsonValue& value) {
    return WriteJson(value) + "\n";
}

} // namespace

PrinterState StateOfEntry(const CStatusEntry& entry) {
    if (!entry.bConnected || !entry.record.IsValid())
        return PrinterState::NotConnected;
    if (entry.record.IsError(nullptr))
        return PrinterState::Error;
    if (entry.record.IsPrinting(nullptr) || entry.record.GetDeviceState() != kStateReady)
        return PrinterState::Printing;
    return PrinterState::Idle;
}

const char* PrinterStateName(PrinterState state) {
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
    return "not-connected";
}

CJsonValue EncodePrinter(const CStatusEntry& entry) {
    const CDeviceStatus& record = entry.record;
    const bool bSigned = record.IsValid();
    const PrinterState state = StateOfEntry(entry);
    const std::uint32_t nCode = bSigned ? record.GetStatusCode() : 0;
    const char* pszModel = bSigned ? GetModelName(record.GetProductId()) : "???";
    const bool bKnownModel = std::strcmp(pszModel, "???") != 0;
    CJsonValue printer = CJsonValue::Object();
    printer.Set("name", CJsonValue::String(entry.strName));
    printer.Set("port", CJsonValue::String(entry.strPort));
    printer.Set("road", CJsonValue::String(RoadName(entry.road)));
    printer.Set("family", bKnownModel ? CJsonValue::String(
                                            IsKestrelProductId(record.GetProductId()) ? "Kestrel" : "Brindle")
                                      : CJsonValue());
    printer.Set("model", bKnownModel ? CJsonValue::String(pszModel) : CJsonValue());
    printer.Set("connected", CJsonValue::Bool(entry.bConnected));
    printer.Set("state", CJsonValue::String(PrinterStateName(state)));
    printer.Set("device_state", CJsonValue::Number(bSigned ? record.GetDeviceState() : 0));
    printer.Set("error_code", CJsonValue::Number(nCode));
    printer.Set("resumable", CJsonValue::Bool(state == PrinterState::Error && IsResumableError(nCode)));
    const std::uint8_t nPhase = state == PrinterState::Printing ? record.GetPrintPhase() : 0;
    printer.Set("phase", CJsonValue::String(PhaseName(nPhase)));
    const bool bPrinting = state == PrinterState::Printing;
    printer.Set("task", CJsonValue::Number(bPrinting ? entry.nTask : 0));
    printer.Set("total", CJsonValue::Number(bPrinting ? entry.nTotal : 0));
    printer.Set("state_text", CJsonValue::String(entry.strStateText));
    printer.Set("advice", CJsonValue::String(entry.strAdvice));
    printer.Set("serial", TextOrNull(bSigned ? record.GetSerialNumber() : std::string()));
    printer.Set("firmware", TextOrNull(bSigned ? record.GetFirmwareVersion() : std::string()));
    return printer;
}

std::string EncodeListAnswer(const std::vector<CStatusEntry>& entries) {
    CJsonValue answer = Answer("list");
    answer.Set("printers", PrinterArray(entries));
    return Line(answer);
}

std::string EncodePrinterAnswer(const CStatusEntry& entry) {
    CJsonValue answer = Answer("printer");
    answer.Set("printer", EncodePrinter(entry));
    return Line(answer);
}

std::string EncodeWatchAnswer(const std::vector<CStatusEntry>& entries) {
    CJsonValue answer = Answer("watch");
    answer.Set("printers", PrinterArray(entries));
    return Line(answer);
}

std::string EncodeChangeEvent(const CStatusChange& change) {
    CJsonValue answer = Answer(change.bRemoved ? "removed" : "changed");
    answer.Set("change", CJsonValue::Number(static_cast<double>(change.nNumber)));
    if (change.bRemoved)
        answer.Set("name", CJsonValue::String(change.entry.strName));
    else
        answer.Set("printer", EncodePrinter(change.entry));
    return Line(answer);
}

std::string EncodeErrorAnswer(StatusFault fault, const std::string& strDetail) {
    CJsonValue answer = Answer("error");
    answer.Set("error", CJsonValue::String(StatusFaultName(fault)));
    answer.Set("detail", CJsonValue::String(strDetail));
    return Line(answer);
}
