// NyPlug.exe: plugs a simulated USB printer in or out for the demo. It
// installs (or removes) the printer's device node, USB printing interface and
// printer node where Wine's device installation interfaces find them, then
// tells the windows of the shell desktop that the devices changed, as the
// system does when a printer is plugged in or pulled out.
//   NyPlug.exe plug|unplug SERIAL PORT [PRODUCT_ID]   (product id 0x3C by default)
#include <windows.h>

#include <dbt.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/tools/agent_windows.h"
#include "sim/usb/usb_setup.h"

int main(int argc, char** argv) {
    const std::string strCommand = argc > 1 ? argv[1] : "";
    if ((strCommand != "plug" && strCommand != "unplug") || argc < 4 || argc > 5) {
        std::fputs("Usage: NyPlug.exe plug|unplug SERIAL PORT [PRODUCT_ID]\n", stderr);
        return 2;
    }
    SimUsbPrinter printer;
    printer.strSerial = argv[2];
    printer.strPort = argv[3];
    if (argc == 5)
        printer.wProductId = static_cast<std::uint16_t>(std::strtoul(argv[4], nullptr, 0));
    const DWORD dwError =
        strCommand == "plug" ? CSimUsbSetup::Install(printer) : CSimUsbSetup::Remove(printer);
    if (dwError != 0) {
        std::fprintf(stderr, "NyPlug: %s %s failed: error 0x%lx\n", strCommand.c_str(),
                     printer.strSerial.c_str(), dwError);
        return 1;
    }
    agentwin::EnterShellDesktop();
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return 0;
}
