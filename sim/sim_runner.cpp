#include "sim/sim_runner.h"

#include <cstdio>

#include "app/format.h"
#include "app/trace.h"
#include "monitor/models.h"
#include "sim/null_dacl.h"
#include "sim/status_line.h"

CSimRunner::CSimRunner(const SimOptions& options, const Scenario& steps) : m_options(options) {
    for (const std::string& strPort : options.ports) {
        SimPersonality personality = options.personality;
        if (personality.serial.empty())
            personality.serial = DefaultSerial(strPort);
        m_ports.push_back(std::make_unique<Port>(strPort, personality, steps, options.loop));
    }
}

DWORD CSimRunner::Open() {
    CNullDaclAttributes attributes;
    m_hStopEvent.Reset(CreateEventA(attributes.Get(), TRUE, FALSE, m_options.stopEvent.c_str()));
    if (!m_hStopEvent) {
        const DWORD dwError = GetLastError();
        DebugTrace("CSimRunner::Open() : CreateEvent(%s) failed. GetLastError() = %d\n",
                   m_options.stopEvent.c_str(), static_cast<int>(dwError));
        return dwError;
    }
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        if (const DWORD dwError = pPort->publisher.Open())
            return dwError;
        const SimPersonality& personality = pPort->printer.Personality();
        Print(Format("NySim: %s is a %s (vendor 0x%04X, product 0x%04X), serial %s, firmware %s",
                     pPort->publisher.Port().c_str(), GetModelName(personality.productId),
                     personality.vendorId, personality.productId, personality.serial.c_str(),
                     personality.firmware.c_str()));
    }
    return 0;
}

DWORD CSimRunner::Run() {
    // Index 0 stops; then each port's Cancel and Resume, in port order.
    std::vector<HANDLE> handles = {m_hStopEvent.Get()};
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        handles.push_back(pPort->publisher.CancelEvent());
        handles.push_back(pPort->publisher.ResumeEvent());
    }
    const ULONGLONG start = GetTickCount64();
    ULONGLONG last = start;
    if (const DWORD dwError = PublishChanges(0))
        return dwError;
    for (;;) {
        if (m_options.exitWhenDone && AllDone())
            return 0;
        const DWORD dwWait = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                                    m_options.tickMs);
        if (dwWait == WAIT_FAILED) {
            const DWORD dwError = GetLastError();
            DebugTrace("CSimRunner::Run() : WaitForMultipleObjects() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return dwError;
        }
        if (dwWait == WAIT_OBJECT_0)
            return 0;
        const ULONGLONG now = GetTickCount64();
        const ULONGLONG elapsed = now - last;
        last = now;
        for (const std::unique_ptr<Port>& pPort : m_ports)
            pPort->printer.Advance(elapsed > MAXDWORD ? MAXDWORD : static_cast<std::uint32_t>(elapsed));
        if (dwWait > WAIT_OBJECT_0 && dwWait < WAIT_OBJECT_0 + handles.size()) {
            const std::size_t index = dwWait - WAIT_OBJECT_0 - 1;
            OnConsoleEvent(*m_ports[index / 2], index % 2 == 0, now - start);
        }
        if (const DWORD dwError = PublishChanges(now - start))
            return dwError;
    }
}

DWORD CSimRunner::PublishChanges(ULONGLONG elapsedMs) {
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        const CDeviceStatus status = pPort->printer.GetStatus();
        if (pPort->bPublished && status == pPort->published)
            continue;
        const DWORD dwError = pPort->publisher.Publish(status, m_options.tickMs);
        if (dwError == WAIT_TIMEOUT)
            continue; // an agent holds the status mutex: try again on the next tick
        if (dwError)
            return dwError;
        pPort->published = status;
        pPort->bPublished = true;
        if (m_options.print)
            Print(FormatStatusLine(elapsedMs, pPort->publisher.Port(), status));
    }
    return 0;
}

void CSimRunner::OnConsoleEvent(Port& port, bool bCancel, ULONGLONG elapsedMs) {
    const char* pszWhat = nullptr;
    if (bCancel)
        pszWhat = port.printer.Cancel() ? "Cancel: job ended" : "Cancel: no job to end";
    else
        pszWhat = port.printer.Resume() ? "Resume: error cleared" : "Resume: no resumable error";
    if (m_options.print)
        Print(Format("%6llu ms %s %s", static_cast<unsigned long long>(elapsedMs),
                     port.publisher.Port().c_str(), pszWhat));
}

bool CSimRunner::AllDone() const {
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        if (!pPort->printer.IsDone() || !pPort->bPublished || pPort->printer.GetStatus() != pPort->published)
            return false;
    }
    return true;
}

void CSimRunner::Print(const std::string& strLine) const {
    std::fputs(strLine.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
