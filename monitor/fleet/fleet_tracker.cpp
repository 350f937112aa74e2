#include "monitor/fleet/fleet_tracker.h"

std::vector<CFleetEvent> CFleetTracker::Update(const std::vector<CPrinterSnapshot>& printers) {
    std::vector<CFleetEvent> events;
    std::map<std::string, CLast> next;
    for (const CPrinterSnapshot& printer : printers) {
        const auto it = m_printers.find(printer.strName);
        CLast last = it == m_printers.end() ? CLast() : it->second;
        const bool bConnected = printer.IsConnected();
        if (bConnected && !last.bConnected)
            events.push_back({FleetEventKind::Connected, printer});
        if (bConnected) {
            const bool bError = printer.state == PrinterState::Error;
            if (bError && (!last.bError || last.dwErrorCode != printer.dwErrorCode)) {
                events.push_back({FleetEventKind::ErrorRaised, printer});
                ++last.nErrors;
            } else if (!bError && last.bError) {
                events.push_back({FleetEventKind::ErrorCleared, printer});
            }
            last.bError = bError;
            last.dwErrorCode = bError ? printer.dwErrorCode : 0;
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
