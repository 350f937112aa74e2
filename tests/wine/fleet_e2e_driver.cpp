// The printers of the fleet's end-to-end test (tests/fleet/fleet_e2e.sh): two
// network printers of the family in the spooler, each played by a simulator
// over PJL, "Fleet Büro A" running into paper-out and "Fleet B" idle. The
// script drives the rest through files in the control folder given as the
// only argument: the driver writes "ready" once the printers are in place,
// then for each command file it finds ("resume": Resume on A's console event;
// "remove": B leaves the spooler, the agents are told; "quit") it acts and
// writes "<command>.done". Everything it installed goes when it ends.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/registry.h"
#include "framework/unique_handle.h"
#include "framework/unique_key.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

constexpr DWORD kTcpPortA = 19460;
constexpr DWORD kTcpPortB = 19461;
constexpr char kAgentKey[] = "Software\\Tessel\\Tessel Photo\\NyAgent";

bool Exists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Touch(const std::string& strPath) {
    if (FILE* pFile = std::fopen(strPath.c_str(), "w"))
        std::fclose(pFile);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fleet_e2e_driver.exe CONTROL-FOLDER\n");
        return 2;
    }
    const std::string strControl = std::string(argv[1]) + "\\";
    // No status window opens by itself: the agent runs without a desktop to show it on.
    CRegistry::SetDWORDKey(kAgentKey, "OpenOnError", 0);
    CRegistry::SetDWORDKey(kAgentKey, "OpenWhenPrinting", 0);
    // The machine's key, as the installation leaves it: the agent watches it for the metrics setting.
    CUniqueKey machineKey;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAgentKey, 0, nullptr, 0, KEY_READ, nullptr, machineKey.Receive(),
                    nullptr);
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort("NYFLEETA", "127.0.0.1", kTcpPortA);
    portMonitor.AddNetworkPort("NYFLEETB", "127.0.0.1", kTcpPortB);
    // The name in the code page of this program (1252), as a user would type it.
    const CTestPrinter printerA("Fleet B\xFCro A", "NYFLEETA", "Kestrel 2006 WiFi");
    auto pPrinterB = std::make_unique<CTestPrinter>("Fleet B", "NYFLEETB", "Kestrel 2006 WiFi");
    CSimChild simA;
    CSimChild simB;
    if (!simA.Start("--scenario paper-out --tick 50 --port NYFLEETA --pjl-port " +
                    std::to_string(kTcpPortA)) ||
        !simB.Start("--scenario idle --tick 50 --no-print-path --port NYFLEETB --pjl-port " +
                    std::to_string(kTcpPortB))) {
        std::fprintf(stderr, "fleet_e2e_driver: the simulators did not start\n");
        return 1;
    }
    Touch(strControl + "ready");
    for (;;) {
        Sleep(50);
        if (!simA.IsRunning() || !simB.IsRunning()) {
            std::fprintf(stderr, "fleet_e2e_driver: a simulator ended\n%s%s", simA.Output().c_str(),
                         simB.Output().c_str());
            return 1;
        }
        if (Exists(strControl + "resume") && !Exists(strControl + "resume.done")) {
            const CUniqueHandle hResume(
                OpenEventA(EVENT_MODIFY_STATE, FALSE, "Global\\KORVA.Nylm.Console.NYFLEETA.Resume"));
            if (!hResume || !SetEvent(hResume.Get())) {
                std::fprintf(stderr, "fleet_e2e_driver: Resume failed: %lu\n", GetLastError());
                return 1;
            }
            Touch(strControl + "resume.done");
        }
        if (Exists(strControl + "remove") && !Exists(strControl + "remove.done")) {
            pPrinterB.reset();
            SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
            Touch(strControl + "remove.done");
        }
        if (Exists(strControl + "quit"))
            break;
    }
    Touch(strControl + "quit.done");
    return 0;
}
