#include "sim/sim_runner.h"

#include <cstdio>

#include "app/format.h"
#include "app/trace.h"
#include "monitor/models.h"
#include "sim/null_dacl.h"
#include "sim/pjl_responder.h"
#include "sim/status_line.h"

CSimRunner::CSimRunner(const SimOptions& options, const Scenario& steps) : m_options(options) {
    for (const std::string& strPort : options.ports) {
        SimPersonality personality = options.personality;
        const auto usb = options.usbSerials.find(strPort);
        if (usb != options.usbSerials.end())
            personality.serial = usb->second;
        else if (personality.serial.empty())
            personality.serial = DefaultSerial(strPort);
        m_ports.push_back(std::make_unique<Port>(*this, strPort, personality, steps, options.loop));
        if (usb != options.usbSerials.end())
            m_ports.back()->pUsb = std::make_unique<CUsbBridgePublisher>(usb->second);
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
    for (std::size_t i = 0; i < m_ports.size(); ++i) {
        Port& port = *m_ports[i];
        if (m_options.printPath) {
            if (const DWORD dwError = port.publisher.Open())
                return dwError;
        }
        const SimPersonality& personality = port.Personality();
        Print(Format("NySim: %s is a %s (vendor 0x%04X, product 0x%04X), serial %s, firmware %s",
                     port.publisher.Port().c_str(), GetModelName(personality.productId), personality.vendorId,
                     personality.productId, personality.serial.c_str(), personality.firmware.c_str()));
        if (port.pUsb) {
            if (const DWORD dwError = port.pUsb->Open())
                return dwError;
            Print(Format("NySim: %s answers USB requests through %s", port.publisher.Port().c_str(),
                         port.pUsb->MappingName().c_str()));
        }
        if (!m_options.pjl)
            continue;
        port.pServer = std::make_unique<CPjlServer>(port, m_options.misbehaviour, m_options.pjlDelayMs);
        const std::uint32_t nTcpPort =
            m_options.pjlPort ? m_options.pjlPort + static_cast<std::uint32_t>(i) : 0;
        if (const DWORD dwError = port.pServer->Start(nTcpPort)) {
            DebugTrace("CSimRunner::Open() : PJL server on %u failed. GetLastError() = %d\n", nTcpPort,
                       static_cast<int>(dwError));
            return dwError;
        }
        Print(Format("NySim: %s answers PJL on 127.0.0.1:%u", port.publisher.Port().c_str(),
                     port.pServer->Port()));
    }
    return 0;
}

DWORD CSimRunner::Run() {
    // Index 0 stops; then each port's Cancel and Resume, in port order.
    std::vector<HANDLE> handles = {m_hStopEvent.Get()};
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        if (!m_options.printPath)
            break;
        handles.push_back(pPort->publisher.CancelEvent());
        handles.push_back(pPort->publisher.ResumeEvent());
    }
    m_start = GetTickCount64();
    ULONGLONG last = m_start;
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
            pPort->Advance(elapsed > MAXDWORD ? MAXDWORD : static_cast<std::uint32_t>(elapsed));
        TakeUsbCommands();
        if (dwWait > WAIT_OBJECT_0 && dwWait < WAIT_OBJECT_0 + handles.size()) {
            const std::size_t index = dwWait - WAIT_OBJECT_0 - 1;
            Port& port = *m_ports[index / 2];
            if (index % 2 == 0)
                port.Cancel("console");
            else
                port.Resume("console");
        }
        if (const DWORD dwError = PublishChanges(now - m_start))
            return dwError;
    }
}

void CSimRunner::TakeUsbCommands() {
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        if (!pPort->pUsb)
            continue;
        if (pPort->pUsb->TakeCancel())
            pPort->Cancel("USB");
        if (pPort->pUsb->TakeResume())
            pPort->Resume("USB");
    }
}

DWORD CSimRunner::PublishChanges(ULONGLONG elapsedMs) {
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        const CDeviceStatus status = pPort->CurrentStatus();
        if (pPort->bPublished && status == pPort->published)
            continue;
        const DWORD dwError = m_options.printPath ? pPort->publisher.Publish(status, m_options.tickMs) : 0;
        if (dwError == WAIT_TIMEOUT)
            continue; // an agent holds the status mutex: try again on the next tick
        if (dwError)
            return dwError;
        if (pPort->pUsb)
            pPort->pUsb->Publish(status, MakeSimInfo(status));
        pPort->published = status;
        pPort->bPublished = true;
        if (m_options.print)
            Print(FormatStatusLine(elapsedMs, pPort->publisher.Port(), status));
    }
    return 0;
}

void CSimRunner::Port::Advance(std::uint32_t elapsedMs) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_printer.Advance(elapsedMs);
}

bool CSimRunner::Port::IsDone() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_printer.IsDone();
}

CDeviceStatus CSimRunner::Port::CurrentStatus() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_printer.GetStatus();
}

bool CSimRunner::Port::Cancel(const char* pszRoad) {
    bool bDone = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        bDone = m_printer.Cancel();
    }
    if (m_runner.m_options.print)
        m_runner.Print(Format("%6llu ms %s %s Cancel: %s",
                              static_cast<unsigned long long>(m_runner.Elapsed()), publisher.Port().c_str(),
                              pszRoad, bDone ? "job ended" : "no job to end"));
    return bDone;
}

bool CSimRunner::Port::Resume(const char* pszRoad) {
    bool bDone = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        bDone = m_printer.Resume();
    }
    if (m_runner.m_options.print)
        m_runner.Print(Format("%6llu ms %s %s Resume: %s",
                              static_cast<unsigned long long>(m_runner.Elapsed()), publisher.Port().c_str(),
                              pszRoad, bDone ? "error cleared" : "no resumable error"));
    return bDone;
}

bool CSimRunner::AllDone() const {
    for (const std::unique_ptr<Port>& pPort : m_ports) {
        if (!pPort->IsDone() || !pPort->bPublished || pPort->CurrentStatus() != pPort->published)
            return false;
    }
    return true;
}

void CSimRunner::Print(const std::string& strLine) const {
    std::fputs(strLine.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
