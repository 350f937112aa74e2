#include "sim/job_player.h"

#include <utility>

#include "monitor/device_status.h"

CJobPlayer::CJobPlayer(Scenario steps) : m_steps(std::move(steps)) {
    Restart();
}

void CJobPlayer::Restart() {
    m_next = 0;
    m_jobTimeMs = 0;
    m_bHeld = false;
    m_bCancelled = false;
    m_current = ReadyStep();
    Advance(0);
}

void CJobPlayer::Advance(std::uint32_t elapsedMs) {
    if (m_bHeld || IsDone())
        return;
    m_jobTimeMs += elapsedMs;
    while (m_next < m_steps.size() && m_steps[m_next].timeMs <= m_jobTimeMs) {
        m_current = m_steps[m_next++];
        if (m_current.hold) {
            // Whatever time was left over waits until the hold is released.
            m_jobTimeMs = m_current.timeMs;
            m_bHeld = true;
            return;
        }
    }
}

bool CJobPlayer::Cancel() {
    if (IsDone())
        return false;
    m_bCancelled = true;
    m_bHeld = false;
    m_current = ReadyStep();
    return true;
}

bool CJobPlayer::Resume() {
    if (!IsResumableError(m_current.code))
        return false;
    m_current.code = 0;
    m_bHeld = false;
    return true;
}

bool CJobPlayer::IsDone() const {
    return m_bCancelled || (m_next == m_steps.size() && !m_bHeld);
}
