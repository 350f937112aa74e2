#include "tools/nystatus/status_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

const char* NyStatusUsage() {
    return "Usage: NyStatus [--printer NAME] [--json | --wait ready [--timeout SECONDS] | --watch]\n"
           "Exit codes: 0 ready, 1 printing, 2 error, 3 not connected, 4 no such printer,\n"
           "            5 no agent in this session, 6 time-out, 64 usage.\n";
}

bool ParseNyStatusArguments(const std::vector<std::string>& args, CNyStatusOptions& options,
                            std::string& strError) {
    options = CNyStatusOptions();
    bool bMode = false;
    bool bTimeout = false;
    auto SetMode = [&](NyStatusMode mode) {
        if (bMode) {
            strError = "--json, --wait and --watch exclude each other";
            return false;
        }
        bMode = true;
        options.mode = mode;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        const bool bHasValue = i + 1 < args.size();
        if (strArg == "--json") {
            if (!SetMode(NyStatusMode::Json))
                return false;
        } else if (strArg == "--watch") {
            if (!SetMode(NyStatusMode::Watch))
                return false;
        } else if (strArg == "--wait") {
            if (!bHasValue || args[++i] != "ready") {
                strError = "--wait takes \"ready\"";
                return false;
            }
            if (!SetMode(NyStatusMode::WaitReady))
                return false;
        } else if (strArg == "--printer") {
            if (!bHasValue || args[i + 1].empty()) {
                strError = "--printer takes a printer's name";
                return false;
            }
            options.strPrinter = args[++i];
        } else if (strArg == "--timeout") {
            char* pEnd = nullptr;
            errno = 0;
            const double d = bHasValue ? std::strtod(args[i + 1].c_str(), &pEnd) : -1;
            if (!bHasValue || pEnd == args[i + 1].c_str() || *pEnd != '\0' || errno != 0 ||
                !std::isfinite(d) || d < 0 || d > 86400 * 365) {
                strError = "--timeout takes a number of seconds";
                return false;
            }
            ++i;
            options.dTimeoutSeconds = d;
            bTimeout = true;
        } else {
            strError = "unknown argument \"" + strArg + "\"";
            return false;
        }
    }
    if (bTimeout && options.mode != NyStatusMode::WaitReady) {
        strError = "--timeout goes with --wait ready";
        return false;
    }
    return true;
}
