// A status view for the tests: records every display operation as a line of
// text, with each text id followed by its English text, e.g.
//   ShowError(125 'Out of paper', 130 'Please insert paper sheet')
// Reads of the bar positions are answered but not recorded.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/status_view.h"

class CFakeStatusView : public CStatusView {
public:
    void ShowNotConnected() override;
    void ShowError(StringId nStateId, StringId nAdviceId) override;
    void ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) override;
    void ShowPrinting(StringId nPhaseId) override;
    void StartTimer(std::uint32_t nTimerId, std::uint32_t nElapseMs) override;
    void StopTimer(std::uint32_t nTimerId) override;
    void SetTaskBarColour(Colour crBar) override;
    void SetTaskPos(std::int32_t nPos) override;
    std::int32_t GetTaskPos() const override { return m_nTaskPos; }
    void SetTotalPos(std::int32_t nPos) override;
    std::int32_t GetTotalPos() const override { return m_nTotalPos; }
    void SetTaskPercentText(const std::string& strText) override;
    void SetTotalPercentText(const std::string& strText) override;

    // Takes the recorded lines and starts a new record.
    std::vector<std::string> TakeCalls();

    // "green", "yellow", ... for the bar colours, else 0x00BBGGRR.
    static std::string ColourName(Colour cr);

    // The range within which the bars keep a position (a real bar has 0..100);
    // by default they keep whatever they are given.
    std::int32_t m_nBarMin = INT_MIN;
    std::int32_t m_nBarMax = INT_MAX;
    std::int32_t m_nTaskPos = 0;
    std::int32_t m_nTotalPos = 0;
    std::vector<std::string> m_calls;

private:
    std::int32_t Keep(std::int32_t nPos) const;
};
