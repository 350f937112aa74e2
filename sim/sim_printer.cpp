#include "sim/sim_printer.h"

#include <utility>

CSimPrinter::CSimPrinter(SimPersonality personality, Scenario steps, bool bLoop)
    : m_personality(std::move(personality)), m_player(std::move(steps)), m_bLoop(bLoop) {}

void CSimPrinter::Advance(std::uint32_t elapsedMs) {
    // A looping printer shows the end of one job for a whole tick before the
    // next one starts, so that every front end gets to report it.
    if (m_bLoop && m_player.IsDone())
        m_player.Restart();
    else
        m_player.Advance(elapsedMs);
}

CDeviceStatus CSimPrinter::GetStatus() const {
    const ScenarioStep& step = m_player.Current();
    CDeviceStatus status;
    status.SetSignature();
    status.SetVendorId(m_personality.vendorId);
    status.SetProductId(m_personality.productId);
    status.SetSerialNumber(m_personality.serial);
    status.SetFirmwareVersion(m_personality.firmware);
    status.SetDeviceState(step.state);
    status.SetPrintPhase(step.phase);
    status.SetProgress(step.progress);
    status.SetStatusCode(step.code);
    return status;
}
