// Publishes the printer set to the fleet's snapshot board from the monitor
// window's notifications, on the user-interface thread: each printer's name,
// port, road and model, its state from its device's current record, and the
// texts and bars its status window would show, from a status interpretation
// of its own (kept from change to change, as the window keeps its own).
#pragma once

#include <map>
#include <string>

#include "monitor/fleet/snapshot_board.h"
#include "monitor/printer_set_observer.h"
#include "monitor/status_display.h"

class CDeviceControl;

class CFleetFeed : public CPrinterSetObserver {
public:
    // bUseNyStatusMonitor: USB printers are watched through the print path.
    CFleetFeed(CSnapshotBoard& board, bool bUseNyStatusMonitor)
        : m_board(board), m_bUseNyStatusMonitor(bUseNyStatusMonitor) {}
    CFleetFeed(const CFleetFeed&) = delete;
    CFleetFeed& operator=(const CFleetFeed&) = delete;

    void OnPrintersChanged(const CPrinters& printers) override;

private:
    struct CPrinterView {
        CStatusDisplay display;
        // The model of the last record that named one: a printer keeps its
        // series while it is away.
        std::string strModel;
    };
    CPrinterSnapshot Take(const CDeviceControl& control, CPrinterView& view) const;

    CSnapshotBoard& m_board;
    bool m_bUseNyStatusMonitor;
    std::map<std::string, CPrinterView> m_views;
};
