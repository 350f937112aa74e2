// NyStatus.exe's command line and exit codes. Platform-free.
#pragma once

#include <string>
#include <vector>

// The exit codes, stable for scripts (README, docs/status-protocol.md).
enum NyStatusExit : int {
    kExitReady = 0,
    kExitPrinting = 1,
    kExitError = 2,
    kExitNotConnected = 3,
    kExitNoSuchPrinter = 4,
    kExitNoAgent = 5,
    kExitTimeOut = 6,
    kExitUsage = 64,
};

enum class NyStatusMode { Table, Json, WaitReady, Watch };

struct CNyStatusOptions {
    NyStatusMode mode = NyStatusMode::Table;
    // Empty: every printer.
    std::string strPrinter;
    // For --wait ready; negative waits without end.
    double dTimeoutSeconds = -1;
};

// Parses the arguments (without the program's name). FALSE on a usage error,
// described in strError.
bool ParseNyStatusArguments(const std::vector<std::string>& args, CNyStatusOptions& options,
                            std::string& strError);
const char* NyStatusUsage();
