#include "tests/native/fake_status_view.h"

#include <utility>

#include "app/format.h"
#include "tests/native/english_strings.h"

namespace {

// "125 'Out of paper'", or "0" for no text.
std::string Text(StringId nId) {
    if (nId == IDS_NONE)
        return "0";
    return Format("%u '%s'", static_cast<unsigned>(nId), EnglishText(nId).c_str());
}

} // namespace

void CFakeStatusView::ShowNotConnected() {
    m_calls.push_back("ShowNotConnected()");
}

void CFakeStatusView::ShowError(StringId nStateId, StringId nAdviceId) {
    m_calls.push_back("ShowError(" + Text(nStateId) + ", " + Text(nAdviceId) + ")");
}

void CFakeStatusView::ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) {
    m_calls.push_back("ShowStatus(" + Text(nStateId) + ", " + Text(nDetailId) + ", " + Text(nHintId) + ")");
}

void CFakeStatusView::ShowPrinting(StringId nPhaseId) {
    m_calls.push_back("ShowPrinting(" + Text(nPhaseId) + ")");
}

void CFakeStatusView::StartTimer(std::uint32_t nTimerId, std::uint32_t nElapseMs) {
    m_calls.push_back(
        Format("StartTimer(%u, %u)", static_cast<unsigned>(nTimerId), static_cast<unsigned>(nElapseMs)));
}

void CFakeStatusView::StopTimer(std::uint32_t nTimerId) {
    m_calls.push_back(Format("StopTimer(%u)", static_cast<unsigned>(nTimerId)));
}

void CFakeStatusView::SetTaskBarColour(Colour crBar) {
    m_calls.push_back("TaskColour(" + ColourName(crBar) + ")");
}

void CFakeStatusView::SetTaskPos(std::int32_t nPos) {
    m_calls.push_back(Format("SetTaskPos(%d)", static_cast<int>(nPos)));
    m_nTaskPos = Keep(nPos);
}

void CFakeStatusView::SetTotalPos(std::int32_t nPos) {
    m_calls.push_back(Format("SetTotalPos(%d)", static_cast<int>(nPos)));
    m_nTotalPos = Keep(nPos);
}

void CFakeStatusView::SetTaskPercentText(const std::string& strText) {
    m_calls.push_back("TaskText(" + strText + ")");
}

void CFakeStatusView::SetTotalPercentText(const std::string& strText) {
    m_calls.push_back("TotalText(" + strText + ")");
}

std::vector<std::string> CFakeStatusView::TakeCalls() {
    return std::exchange(m_calls, {});
}

std::string CFakeStatusView::ColourName(Colour cr) {
    struct Named {
        std::uint8_t r, g, b;
        const char* pszName;
    };
    // The bar colours, by the names the status window gives them.
    static const Named names[] = {
        {0, 128, 0, "green"},  {255, 255, 0, "yellow"}, {255, 0, 255, "magenta"},
        {0, 255, 255, "cyan"}, {128, 64, 0, "brown"},
    };
    for (const Named& n : names) {
        if (cr == (static_cast<Colour>(n.r) | static_cast<Colour>(n.g) << 8 | static_cast<Colour>(n.b) << 16))
            return n.pszName;
    }
    return Format("0x%08X", static_cast<unsigned>(cr));
}

std::int32_t CFakeStatusView::Keep(std::int32_t nPos) const {
    return nPos < m_nBarMin ? m_nBarMin : (nPos > m_nBarMax ? m_nBarMax : nPos);
}
