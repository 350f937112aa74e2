#include "monitor/fleet/fleet_tracker.h"

#include <cstring>

#include "monitor/models.h"

std::vector<CFleetEvent> CFleetTracker::Update(const std::vector<CStatusEntry>& printers) {
    std::vector<CFleetEvent> events;
    std::map<std::string, CLast> next;
    for (const CStatusEntry& printer : printers) {
        const auto it = m_printers.find(printer.strName);
        CLast last = it == m_printers.end() ? CLast() : it->second;
        const PrinterState state = StateOfEntry(printer);
        const bool bConnected = state != PrinterState::NotConnected;
        if (bConnected && !last.bConnected)
            events.push_back({FleetEventKind::Connected, printer});
        if (bConnected) {
            const bool bError = state == PrinterState::Error;
            const std::uint32_t dwErrorCode = ErrorCodeOfEntry(printer);
            if (bError && (!last.bError || last.dwErrorCode != dwErrorCode)) {
                events.push_back({FleetEventKind::ErrorRaised, printer});
                ++last.nErrors;
            } else if (!bError && last.bError) {
                events.push_back({FleetEventKind::ErrorCleared, printer});
            }
            last.bError = bError;
            last.dwErrorCode = dwErrorCode;
            if (const char* pszModel = GetModelName(printer.record.GetProductId());
                std::strcmp(pszModel, "???") != 0)
                last.strModel = pszModel;
        } else if (last.bConnected) {
            events.push_back({FleetEventKind::Disconnected, printer});
        }
        last.bConnected = bConnected;
        next[printer.strName] = last;
    }
    m_printers.swap(next);
    return events;
}

std::uint64_t CFleetTracker::GetErrorsTotal(const std::string& strName) const {
    const auto it = m_printers.find(strName);
    return it == m_printers.end() ? 0 : it->second.nErrors;
}

std::string CFleetTracker::GetModel(const std::string& strName) const {
    const auto it = m_printers.find(strName);
    return it == m_printers.end() ? std::string() : it->second.strModel;
}
