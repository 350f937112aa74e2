// The simulator's clock: plays a printer on every port, publishes each
// port's record whenever it changes, and passes the port's Cancel and Resume
// events on to its printer.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "sim/pjl_server.h"
#include "sim/port_publisher.h"
#include "sim/sim_options.h"
#include "sim/sim_printer.h"
#include "sim/usb/usb_bridge_publisher.h"

class CSimRunner {
public:
    CSimRunner(const SimOptions& options, const Scenario& steps);
    CSimRunner(const CSimRunner&) = delete;
    CSimRunner& operator=(const CSimRunner&) = delete;

    // Creates the stop event and every port's objects. Returns 0 or the
    // Windows error code.
    DWORD Open();
    // Plays until the stop event is signalled or, when asked to, until every
    // job is done and published. Returns 0 or the Windows error code.
    DWORD Run();
    // Manual-reset: one signal stops every simulator that shares its name.
    HANDLE StopEvent() const { return m_hStopEvent.Get(); }

private:
    // One simulated printer and the ways it is reached. The PJL server asks
    // it from its own thread, so the printer is only touched under its lock.
    class Port : public CPjlPrinter {
    public:
        Port(CSimRunner& runner, const std::string& strPort, const SimPersonality& personality,
             const Scenario& steps, bool bLoop)
            : publisher(strPort), m_runner(runner), m_printer(personality, steps, bLoop) {}

        void Advance(std::uint32_t elapsedMs);
        bool IsDone();
        const SimPersonality& Personality() const { return m_printer.Personality(); }
        // What the console events and PJL requests ask; both say what happened.
        bool Cancel(const char* pszRoad);
        bool Resume(const char* pszRoad);

        CDeviceStatus CurrentStatus() override;
        bool CancelJob() override { return Cancel("PJL"); }
        bool ResumeJob() override { return Resume("PJL"); }

        CPortPublisher publisher;
        std::unique_ptr<CPjlServer> pServer;
        std::unique_ptr<CUsbBridgePublisher> pUsb; // null unless served over USB
        CDeviceStatus published;                   // what the mappings hold
        bool bPublished = false;                   // the mappings hold a record at all

    private:
        CSimRunner& m_runner;
        std::mutex m_lock;
        CSimPrinter m_printer;
    };

    // Passes the Cancel and Resume requests of the USB bridges on to their printers.
    void TakeUsbCommands();
    // Publishes each record that changed. Returns 0 or the error that stops the run.
    DWORD PublishChanges(ULONGLONG elapsedMs);
    bool AllDone() const;
    void Print(const std::string& strLine) const;
    ULONGLONG Elapsed() const { return GetTickCount64() - m_start; }

    SimOptions m_options;
    std::vector<std::unique_ptr<Port>> m_ports;
    CUniqueHandle m_hStopEvent;
    ULONGLONG m_start = GetTickCount64();
};
