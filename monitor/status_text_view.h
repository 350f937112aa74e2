// A status view that only keeps what Display chose: the text ids of the
// state line and of the line under it, and the bars' positions. The status
// board gets the status window's texts from it, by the window's own rules.
// Platform-free.
#pragma once

#include "monitor/status_view.h"

class CStatusTextView : public CStatusView {
public:
    void ShowNotConnected() override { Keep(IDS_NOT_CONNECTED, IDS_NONE, IDS_NONE); }
    void ShowError(StringId nStateId, StringId nAdviceId) override { Keep(nStateId, nAdviceId, IDS_NONE); }
    void ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) override {
        Keep(nStateId, nDetailId, nHintId);
    }
    void ShowPrinting(StringId nPhaseId) override { Keep(IDS_PRINTING, nPhaseId, IDS_NONE); }
    // Timers only repeat a refresh; the board is refreshed on every change.
    void StartTimer(std::uint32_t, std::uint32_t) override {}
    void StopTimer(std::uint32_t) override {}
    void SetTaskBarColour(Colour) override {}
    // The bars hold 0 to 100, as the window's progress bars do.
    void SetTaskPos(std::int32_t nPos) override { m_nTask = Clamp(nPos); }
    std::int32_t GetTaskPos() const override { return m_nTask; }
    void SetTotalPos(std::int32_t nPos) override { m_nTotal = Clamp(nPos); }
    std::int32_t GetTotalPos() const override { return m_nTotal; }
    void SetTaskPercentText(const std::string&) override {}
    void SetTotalPercentText(const std::string&) override {}

    StringId GetStateId() const { return m_nStateId; }
    // The advice of an error, the detail of an idle printer, the phase of a job.
    StringId GetAdviceId() const { return m_nAdviceId; }
    // The hint under an idle printer's detail; IDS_NONE when there is none.
    StringId GetHintId() const { return m_nHintId; }

private:
    static std::int32_t Clamp(std::int32_t nPos) { return nPos < 0 ? 0 : (nPos > 100 ? 100 : nPos); }
    void Keep(StringId nStateId, StringId nAdviceId, StringId nHintId) {
        m_nStateId = nStateId;
        m_nAdviceId = nAdviceId;
        m_nHintId = nHintId;
    }

    StringId m_nStateId = IDS_NONE;
    StringId m_nAdviceId = IDS_NONE;
    StringId m_nHintId = IDS_NONE;
    std::int32_t m_nTask = 0;
    std::int32_t m_nTotal = 0;
};
