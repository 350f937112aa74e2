// The simulator's clock: plays a printer on every port, publishes each
// port's record whenever it changes, and passes the port's Cancel and Resume
// events on to its printer.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "sim/port_publisher.h"
#include "sim/sim_options.h"
#include "sim/sim_printer.h"

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
    struct Port {
        Port(const std::string& strPort, const SimPersonality& personality, const Scenario& steps, bool bLoop)
            : printer(personality, steps, bLoop), publisher(strPort) {}

        CSimPrinter printer;
        CPortPublisher publisher;
        CDeviceStatus published; // what the mappings hold
        bool bPublished = false; // the mappings hold a record at all
    };

    // Publishes each record that changed. Returns 0 or the error that stops the run.
    DWORD PublishChanges(ULONGLONG elapsedMs);
    void OnConsoleEvent(Port& port, bool bCancel, ULONGLONG elapsedMs);
    bool AllDone() const;
    void Print(const std::string& strLine) const;

    SimOptions m_options;
    std::vector<std::unique_ptr<Port>> m_ports;
    CUniqueHandle m_hStopEvent;
};
