// The printers' last snapshots, written by the user-interface thread and read
// by the fleet's reporting thread. Every read copies under the board's mutex;
// a publication that changes something counts one change and tells the
// listener. Platform-free.
#pragma once

#include <mutex>

#include "monitor/fleet/snapshot_source.h"

class CSnapshotBoard : public CSnapshotSource {
public:
    CSnapshotBoard() = default;
    CSnapshotBoard(const CSnapshotBoard&) = delete;
    CSnapshotBoard& operator=(const CSnapshotBoard&) = delete;

    // The whole printer set, in its order. A set equal to the current one
    // changes nothing and tells no one.
    void Publish(std::vector<CPrinterSnapshot> printers);

    std::vector<CPrinterSnapshot> Snapshot(std::uint64_t* pnCounter) const override;
    void SetListener(std::function<void()> pfnListener) override;

private:
    mutable std::mutex m_mutex;
    std::vector<CPrinterSnapshot> m_printers;
    std::uint64_t m_nCounter = 0;
    std::function<void()> m_pfnListener;
};
