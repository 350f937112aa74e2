// The agent's metrics in the Prometheus text exposition format, as a
// textfile collector reads them: each family's HELP and TYPE lines, then its
// series, one per printer (sorted by printer name, so that the file does not
// change with the set's order), every line ending with a line feed. Printer
// families are left out while there is no printer. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/status_entry.h"

struct CPrinterMetrics {
    CStatusEntry printer;
    // The name of the printer's model; empty while unknown.
    std::string strModel;
    // Errors the printer raised since the agent started.
    std::uint64_t nErrorsTotal = 0;
};

struct CAgentMetrics {
    std::string strVersion;
    // The session's id: every series carries it, so that the files of the
    // agents of several sessions watching the same printers never clash.
    std::uint32_t nSession = 0;
    // When the file is written, in milliseconds since 1970.
    std::int64_t nTimestampMs = 0;
    std::vector<CPrinterMetrics> printers;
};

std::string EncodeMetrics(const CAgentMetrics& metrics);

// A label value with backslash, double quote and line feed escaped.
std::string EscapeLabelValue(const std::string& strValue);
