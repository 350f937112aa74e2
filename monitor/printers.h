// The set of printers the agent watches: one controller per printer of the
// spooler whose driver belongs to the family, under the spooler's printer
// name. The monitor window owns the set and synchronises it with the spooler
// whenever the system's printers or devices may have changed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "monitor/device_control.h"
#include "monitor/name_map.h"

class CDeviceSource;
class CStatusWindowSource;

class CPrinters {
public:
    // Each printer's status window comes from windowSource. bUseNyStatusMonitor
    // has USB printers watched through the status monitor's shared memory.
    CPrinters(CStatusWindowSource& windowSource, BOOL bUseNyStatusMonitor);
    // Deletes every controller, in walk order.
    virtual ~CPrinters();

    CPrinters(const CPrinters&) = delete;
    CPrinters& operator=(const CPrinters&) = delete;

    // The monitor window: the parent of the status windows made from now on.
    void SetMonitor(HWND hMonitor) { m_hMonitor = hMonitor; }

    // The names of the spooler's local printers with a family driver, in the
    // spooler's order. 0 or the error of the enumeration.
    static DWORD GetPrinterNames(std::vector<std::string>& names);
    // Makes the set equal to the spooler's family printers, then connects
    // each remaining printer that has got a link and disconnects each that
    // has lost it. A failed enumeration leaves the set as it is and is
    // returned, so the caller can try again.
    DWORD Synchronise(CDeviceSource& devices);
    // The controller of a new printer; null, traced, when it cannot be made.
    std::unique_ptr<CDeviceControl> OnAddPrinter(const std::string& strPrinterName, CDeviceSource& devices);
    // Deletes the controller with its status window and its device.
    static void OnRemovePrinter(std::unique_ptr<CDeviceControl> pControl);
    // Removes every printer (the tray menu's Exit). Every device is asked to
    // stop before the first is waited for, so they end together.
    void RemoveAllPrinters();

    // TRUE when no printer prints. Every printer is asked and traced.
    BOOL OnQuerySuspend();
    // A printer needs nothing on these power events.
    void OnQuerySuspendFailed() {}
    void OnSuspend() {}
    void OnResumeSuspend() {}

    // Null shows every status window, each later one cascaded from the one
    // shown before it; a name shows the windows of the printers of that name.
    void ShowWindows(const char* pszPrinterName);

    std::size_t GetCount() const { return m_map.GetCount(); }
    // Calls fnVisit(const CDeviceControl&) for every printer in walk order.
    template <typename TVisit> void ForEach(TVisit fnVisit) const {
        m_map.ForEach([&](const std::string&, const std::unique_ptr<CDeviceControl>& pControl) {
            fnVisit(static_cast<const CDeviceControl&>(*pControl));
        });
    }

protected:
    // The spooler's family printers; GetPrinterNames.
    virtual DWORD EnumeratePrinterNames(std::vector<std::string>& names) const;

private:
    // Removes the printers of these names: all are asked to stop first.
    void RemovePrinters(const std::vector<std::string>& names);

    HWND m_hMonitor = nullptr;
    CStatusWindowSource& m_windowSource;
    BOOL m_bUseNyStatusMonitor;
    CNameMap<std::unique_ptr<CDeviceControl>> m_map;
};
