#include "monitor/status_board.h"

#include <algorithm>

bool CStatusEntry::operator==(const CStatusEntry& other) const {
    return strName == other.strName && strPort == other.strPort && road == other.road &&
           bConnected == other.bConnected && record == other.record &&
           record.GetWifiState() == other.record.GetWifiState() && strStateText == other.strStateText &&
           strAdvice == other.strAdvice && nTask == other.nTask && nTotal == other.nTotal;
}

void CStatusBoard::Set(const CStatusEntry& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const CStatusEntry& current) { return current.strName == entry.strName; });
    if (it == m_entries.end())
        m_entries.push_back(entry);
    else if (*it == entry)
        return;
    else
        *it = entry;
    Record(false, entry);
}

void CStatusBoard::Keep(const std::vector<std::string>& strNames) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (std::find(strNames.begin(), strNames.end(), it->strName) != strNames.end()) {
            ++it;
            continue;
        }
        CStatusEntry gone;
        gone.strName = it->strName;
        it = m_entries.erase(it);
        Record(true, gone);
    }
}

void CStatusBoard::Record(bool bRemoved, const CStatusEntry& entry) {
    CStatusChange change;
    change.nNumber = ++m_nCounter;
    change.bRemoved = bRemoved;
    change.entry = entry;
    m_history.push_back(std::move(change));
    if (m_history.size() > kHistory)
        m_history.pop_front();
    if (m_pfnListener)
        m_pfnListener();
}

std::vector<CStatusEntry> CStatusBoard::Snapshot(std::uint64_t* pnCounter) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (pnCounter)
        *pnCounter = m_nCounter;
    return m_entries;
}

bool CStatusBoard::Find(const std::string& strName, CStatusEntry& entry) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const CStatusEntry& current : m_entries) {
        if (current.strName == strName) {
            entry = current;
            return true;
        }
    }
    return false;
}

bool CStatusBoard::ChangesAfter(std::uint64_t nAfter, std::vector<CStatusChange>& changes) const {
    changes.clear();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (nAfter >= m_nCounter)
        return true;
    if (m_history.empty() || m_history.front().nNumber > nAfter + 1)
        return false;
    for (const CStatusChange& change : m_history) {
        if (change.nNumber > nAfter)
            changes.push_back(change);
    }
    return true;
}

std::uint64_t CStatusBoard::GetCounter() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nCounter;
}

void CStatusBoard::SetListener(std::function<void()> pfnListener) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pfnListener = std::move(pfnListener);
}
