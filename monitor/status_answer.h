// The status protocol's answers: each a JSON object on one line, ending in
// "\n", with the protocol version (docs/status-protocol.md). The state of a
// printer, its fields and the lines of a watch are made here from board
// entries. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "app/json/json_value.h"
#include "monitor/status_board.h"
#include "monitor/status_request.h"

enum class PrinterState { Idle, Printing, Error, NotConnected };

// Not connected until the link is up and the device has given a signed
// record; then error, printing (a job, or a device state other than ready:
// busy, initialising), or idle.
PrinterState StateOfEntry(const CStatusEntry& entry);
const char* PrinterStateName(PrinterState state);

// One printer's object, with every field of the protocol.
CJsonValue EncodePrinter(const CStatusEntry& entry);

std::string EncodeListAnswer(const std::vector<CStatusEntry>& entries);
std::string EncodePrinterAnswer(const CStatusEntry& entry);
// The first line of a watch: every printer as it is now.
std::string EncodeWatchAnswer(const std::vector<CStatusEntry>& entries);
// A line of a watch: one printer changed, or went.
std::string EncodeChangeEvent(const CStatusChange& change);
// An error; strDetail says more (may be empty).
std::string EncodeErrorAnswer(StatusFault fault, const std::string& strDetail);
