// A simulated printer: a personality (who the printer says it is) playing a
// scenario. Every front end (the print-path publisher, a network server)
// drives one of these and reports its record.
#pragma once

#include <cstdint>
#include <string>

#include "monitor/device_status.h"
#include "sim/job_player.h"

struct SimPersonality {
    std::uint16_t vendorId = 0x0E7A;
    std::uint16_t productId = 0x3F; // Kestrel Model D
    std::string serial;             // empty: the front end names one, see DefaultSerial
    std::string firmware = "1.23";
};

class CSimPrinter {
public:
    // With bLoop the job starts again as soon as it is done or cancelled.
    CSimPrinter(SimPersonality personality, Scenario steps, bool bLoop);

    void Advance(std::uint32_t elapsedMs);
    bool Cancel() { return m_player.Cancel(); }
    bool Resume() { return m_player.Resume(); }

    // Never true for a printer that loops.
    bool IsDone() const { return !m_bLoop && m_player.IsDone(); }
    const SimPersonality& Personality() const { return m_personality; }
    // The 44-byte record that the printer reports now.
    CDeviceStatus GetStatus() const;

private:
    SimPersonality m_personality;
    CJobPlayer m_player;
    bool m_bLoop;
};
