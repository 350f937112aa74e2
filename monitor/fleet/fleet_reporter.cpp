#include "monitor/fleet/fleet_reporter.h"

#include <utility>

#include <windows.h>

#include "app/event_log.h"
#include "app/registry_watch.h"
#include "app/trace.h"
#include "app/wide_text.h"
#include "monitor/fleet/event_rate_limiter.h"
#include "monitor/fleet/fleet_tracker.h"
#include "monitor/fleet/metrics_file.h"
#include "monitor/fleet/metrics_text.h"
#include "nyagent_events.h"

namespace {

std::int64_t MillisecondsSince1970() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    const std::int64_t n100ns =
        (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | static_cast<std::int64_t>(ft.dwLowDateTime);
    return n100ns / 10000 - 11644473600000LL;
}

std::string Hex(std::uint32_t dwCode) {
    char szText[16];
    wsprintfA(szText, "0x%08lX", static_cast<unsigned long>(dwCode));
    return szText;
}

// Every printer event carries the same insertion strings: printer, port,
// error code, state line, advice.
std::vector<std::string> Strings(const CStatusEntry& printer) {
    return {printer.strName, printer.strPort, Hex(ErrorCodeOfEntry(printer)), printer.strStateText,
            printer.strAdvice};
}

void ReportEvent(const CEventLog& log, CEventRateLimiter& limiter, const CFleetEvent& event) {
    switch (limiter.Admit(event.printer.strName, GetTickCount64() / 1000)) {
    case CEventRateLimiter::Verdict::Drop:
        return;
    case CEventRateLimiter::Verdict::Summarise: {
        std::vector<std::string> strings = Strings(event.printer);
        strings[2] = std::to_string(CEventRateLimiter::kMaxEvents);
        log.Report(EVENTLOG_WARNING_TYPE, MSG_PRINTER_EVENTS_SUPPRESSED, strings);
        return;
    }
    case CEventRateLimiter::Verdict::Report:
        break;
    }
    switch (event.kind) {
    case FleetEventKind::Connected:
        log.Report(EVENTLOG_INFORMATION_TYPE, MSG_PRINTER_CONNECTED, Strings(event.printer));
        break;
    case FleetEventKind::Disconnected:
        log.Report(EVENTLOG_INFORMATION_TYPE, MSG_PRINTER_DISCONNECTED, Strings(event.printer));
        break;
    case FleetEventKind::ErrorRaised:
        log.Report(EVENTLOG_WARNING_TYPE, MSG_PRINTER_ERROR_RAISED, Strings(event.printer));
        break;
    case FleetEventKind::ErrorCleared:
        log.Report(EVENTLOG_INFORMATION_TYPE, MSG_PRINTER_ERROR_CLEARED, Strings(event.printer));
        break;
    }
}

} // namespace

CFleetReporter::CFleetReporter(CStatusBoard& board, std::string strVersion, std::uint32_t nSession)
    : m_board(board), m_strVersion(std::move(strVersion)), m_nSession(nSession),
      m_hStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_hChanged(CreateEventW(nullptr, FALSE, TRUE, nullptr)) {}

CFleetReporter::~CFleetReporter() {
    Stop();
}

void CFleetReporter::Start() {
    if (!m_hStop || !m_hChanged) {
        DebugTrace("CFleetReporter::Start() : CreateEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    const HANDLE hChanged = m_hChanged.Get();
    m_board.SetListener(this, [hChanged] { SetEvent(hChanged); });
    m_thread = std::thread(&CFleetReporter::Run, this);
}

void CFleetReporter::Stop() {
    if (!m_thread.joinable())
        return;
    m_board.SetListener(this, nullptr);
    SetEvent(m_hStop.Get());
    m_thread.join();
}

void CFleetReporter::Run() {
    const CEventLog log(kEventSource);
    const std::string strSession = std::to_string(m_nSession);
    log.Report(EVENTLOG_INFORMATION_TYPE, MSG_AGENT_STARTED, {m_strVersion, strSession});

    CRegistryWatch setting(kSettingsKey, kMetricsDirectoryValue);
    CMetricsFile file(m_nSession);
    CFleetTracker tracker;
    CEventRateLimiter limiter;
    std::uint64_t nLastCounter = 0;
    bool bFirst = true;
    bool bSettingChanged = true;
    bool bWatched = false;
    std::wstring strFolder;
    for (;;) {
        if (bSettingChanged) {
            // Read after arming: a change in between signals the watch again.
            bWatched = setting.Arm() != FALSE;
            const std::wstring strNewFolder = setting.Read();
            if (strNewFolder != strFolder)
                DebugTrace("CFleetReporter::Run() : metrics folder \"%s\"\n",
                           Utf8FromWide(strNewFolder).c_str());
            strFolder = strNewFolder;
        }
        std::uint64_t nCounter = 0;
        const std::vector<CStatusEntry> printers = m_board.Snapshot(&nCounter);
        if (bFirst || nCounter != nLastCounter)
            for (const CFleetEvent& event : tracker.Update(printers))
                ReportEvent(log, limiter, event);
        bFirst = false;
        nLastCounter = nCounter;
        if (strFolder.empty()) {
            file.Remove();
        } else {
            CAgentMetrics metrics;
            metrics.strVersion = m_strVersion;
            metrics.nSession = m_nSession;
            metrics.nTimestampMs = MillisecondsSince1970();
            for (const CStatusEntry& printer : printers)
                metrics.printers.push_back(
                    {printer, tracker.GetModel(printer.strName), tracker.GetErrorsTotal(printer.strName)});
            file.Write(strFolder, EncodeMetrics(metrics));
        }

        // Without a watch (the key is missing), the setting is looked at again with each refresh.
        const HANDLE handles[] = {m_hStop.Get(), m_hChanged.Get(), setting.GetEvent()};
        const DWORD dwWait = WaitForMultipleObjects(bWatched ? 3 : 2, handles, FALSE, kRefreshMs);
        if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_FAILED)
            break;
        bSettingChanged = dwWait == WAIT_OBJECT_0 + 2 || (dwWait == WAIT_TIMEOUT && !bWatched);
    }
    file.Remove();
    log.Report(EVENTLOG_INFORMATION_TYPE, MSG_AGENT_ENDED, {m_strVersion, strSession});
}
