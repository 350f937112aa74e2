// Where the fleet's reporting reads the printers from: copies of every
// printer's last snapshot, and a signal after each change. The snapshot board
// is one; anything that keeps the printers' last status under a lock of its
// own can be another, through a small adapter.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "monitor/fleet/printer_snapshot.h"

class CSnapshotSource {
public:
    virtual ~CSnapshotSource() = default;

    // The printers in their set's order, and the change counter they show.
    virtual std::vector<CPrinterSnapshot> Snapshot(std::uint64_t* pnCounter) const = 0;
    // Called after every change, from the thread that made it: it must only
    // signal and return. Null for none.
    virtual void SetListener(std::function<void()> pfnListener) = 0;

protected:
    CSnapshotSource() = default;
    CSnapshotSource(const CSnapshotSource&) = default;
    CSnapshotSource& operator=(const CSnapshotSource&) = default;
};
