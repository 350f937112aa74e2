#include "monitor/fleet/snapshot_board.h"

#include <utility>

void CSnapshotBoard::Publish(std::vector<CPrinterSnapshot> printers) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (printers == m_printers)
        return;
    m_printers = std::move(printers);
    ++m_nCounter;
    if (m_pfnListener)
        m_pfnListener();
}

std::vector<CPrinterSnapshot> CSnapshotBoard::Snapshot(std::uint64_t* pnCounter) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (pnCounter)
        *pnCounter = m_nCounter;
    return m_printers;
}

void CSnapshotBoard::SetListener(std::function<void()> pfnListener) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pfnListener = std::move(pfnListener);
}
