// What Display does to the status window: its display operations, its feed
// timer, and the few bar and text operations that
// SetProgress needs. Platform-free; the status window implements it.
#pragma once

#include <cstdint>
#include <string>

#include "resources/string_ids.h"

// A colour as 0x00BBGGRR, the layout of a Windows COLORREF.
using Colour = std::uint32_t;

constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

class CStatusView {
public:
    virtual ~CStatusView() = default;

    // Layouts. Text ids are string-table ids; IDS_NONE (0) means no text.
    virtual void ShowNotConnected() = 0;
    virtual void ShowError(StringId nStateId, StringId nAdviceId) = 0;
    virtual void ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) = 0;
    virtual void ShowPrinting(StringId nPhaseId) = 0;

    // The window's timers (Display uses the feed timer, id 2).
    virtual void StartTimer(std::uint32_t nTimerId, std::uint32_t nElapseMs) = 0;
    virtual void StopTimer(std::uint32_t nTimerId) = 0;

    // The two progress bars (range 0..100) and their percentage texts.
    virtual void SetTaskBarColour(Colour crBar) = 0;
    virtual void SetTaskPos(std::int32_t nPos) = 0;
    virtual std::int32_t GetTaskPos() const = 0;
    virtual void SetTotalPos(std::int32_t nPos) = 0;
    virtual std::int32_t GetTotalPos() const = 0;
    virtual void SetTaskPercentText(const std::string& strText) = 0;
    virtual void SetTotalPercentText(const std::string& strText) = 0;

protected:
    CStatusView() = default;
    CStatusView(const CStatusView&) = default;
    CStatusView& operator=(const CStatusView&) = default;
};
