// What NyStatus.exe makes of the agent's answers: the exit code of a printer's
// state and of several printers (the worst state), the printers a watch has
// told of so far, and the table it prints. Platform-free.
#pragma once

#include <string>
#include <vector>

#include "app/json/json_value.h"

// 0 idle and connected, 1 printing, 2 error, 3 not connected.
int ExitCodeOfPrinter(const CJsonValue& printer);
// The worst of the printers: error, then not connected, then printing, then
// ready; 4 (no such printer) when there is none.
int WorstExitCode(const std::vector<CJsonValue>& printers);

// The printers as a watch tells of them: its first line, then its changes.
class CWatchedPrinters {
public:
    // Takes one line of the watch. FALSE when the line is no answer of a watch.
    bool Apply(const CJsonValue& line);
    // The exit code of that printer (4 while the agent has not told of it),
    // or, for an empty name, the worst of all.
    int ExitCode(const std::string& strPrinter) const;

private:
    std::vector<CJsonValue> m_printers;
};

// One line per printer under a heading: name, road, state, task, total and
// the status window's texts. Widths count characters, not bytes.
std::string FormatPrinterTable(const std::vector<CJsonValue>& printers);
