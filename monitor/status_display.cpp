#include "monitor/status_display.h"

#include <cstddef>

#include "app/format.h"
#include "app/trace.h"
#include "monitor/device_status.h"

namespace {

// One row of an error table: the first row whose bit is set in the status
// code gives the texts.
struct ErrorText {
    std::uint32_t dwBit;
    StringId nStateId;
    StringId nAdviceId;
};

struct ErrorTable {
    const ErrorText* pRows;
    std::size_t nRows;
    std::uint32_t dwTestedBits; // the part of the status code the rows look at
    StringId nUnknownStateId;   // when no row's bit is set
    StringId nUnknownAdviceId;
};

constexpr ErrorText kPrinterErrors[] = {
    {0x0001, IDS_OUT_OF_PAPER, IDS_INSERT_PAPER_SHEET},
    {0x0002, IDS_RIBBON_FAULT, IDS_CHECK_RIBBON},
    {0x0004, IDS_RIBBON_FAULT, IDS_CHECK_RIBBON},
    {0x0008, IDS_PAPER_JAM, IDS_REMOVE_SHEET},
    {0x0010, IDS_RIBBON_JAMMED, IDS_CHECK_RIBBON},
    {0x0020, IDS_HEADS_TOO_HOT, IDS_WAIT_FOR_COOL_DOWN},
    {0x0040, IDS_MECHANICAL_ISSUE, IDS_NEED_MANUAL_INTERVENTION},
    {0x0080, IDS_INTERNAL_ERROR, IDS_RESTART_PRINTER},
    {0x0100, IDS_RIBBON_NOT_INSTALLED, IDS_CHECK_RIBBON},
    {0x0200, IDS_RIBBON_OVER, IDS_CHANGE_RIBBON_AND_CARD},
    {0x0400, IDS_COVER_OPEN, IDS_NEED_MANUAL_INTERVENTION},
    {0x0800, IDS_PRINTER_NOT_READY, IDS_PLEASE_WAIT},
    {0x1000, IDS_CONNECTION_LOST, IDS_CHECK_CONNECTION},
};

constexpr ErrorText kConsumableErrors[] = {
    {0x0001, IDS_CONSUMABLE_COLORIMETRIC, IDS_CHECK_CONSUMABLE_CARD},
    {0x0002, IDS_CONSUMABLE_BRAND, IDS_CHECK_CONSUMABLE_CARD},
    {0x0004, IDS_CONSUMABLE_MECHANICAL, IDS_CHECK_CONSUMABLE_CARD},
    {0x0008, IDS_CONSUMABLE_RIBBON, IDS_CHECK_CONSUMABLE_CARD},
    {0x0010, IDS_CONSUMABLE_PRINTER, IDS_CHECK_CONSUMABLE_CARD},
    {0x0020, IDS_CARD_UNREADABLE, IDS_CHECK_CONSUMABLE_CARD},
    {0x0040, IDS_CARD_UNKNOWN, IDS_CHECK_CONSUMABLE_CARD},
    {0x0080, IDS_CARD_ALREADY_USED, IDS_CHECK_CONSUMABLE_CARD},
    {0x0100, IDS_CARD_COUNTER_LIMIT, IDS_CHECK_CONSUMABLE_CARD},
    {0x0200, IDS_CARD_TRANSFER_ERROR, IDS_CHECK_CONSUMABLE_CARD},
    {0x0400, IDS_MASTER_CARD_ALREADY_USED, IDS_CHECK_CONSUMABLE_CARD},
};

constexpr ErrorText kSystemErrors[] = {
    {0x01, IDS_SYSTEM_ERROR_INIT, IDS_NEED_MANUAL_INTERVENTION},
    {0x02, IDS_SYSTEM_ERROR_MEMORY, IDS_NEED_MANUAL_INTERVENTION},
    {0x04, IDS_SYSTEM_ERROR_FILE, IDS_NEED_MANUAL_INTERVENTION},
    {0x08, IDS_SYSTEM_ERROR_MEMORY_CARD, IDS_NEED_MANUAL_INTERVENTION},
};

constexpr ErrorText kFileErrors[] = {
    {0x01, IDS_FILE_CORRUPTED, IDS_NEED_MANUAL_INTERVENTION},
    {0x02, IDS_FILE_FORMAT_NOT_SUPPORTED, IDS_NEED_MANUAL_INTERVENTION},
};

constexpr ErrorText kWirelessErrors[] = {
    {0x01, IDS_WIRELESS_TRANSFER_ERROR, IDS_NEED_MANUAL_INTERVENTION},
    {0x02, IDS_WIRELESS_FILE_TOO_BIG, IDS_NEED_MANUAL_INTERVENTION},
};

template <std::size_t N>
constexpr ErrorTable MakeTable(const ErrorText (&rows)[N], std::uint32_t dwTestedBits,
                               StringId nUnknownStateId, StringId nUnknownAdviceId) {
    return {rows, N, dwTestedBits, nUnknownStateId, nUnknownAdviceId};
}

// Every detail bit below the class bits.
constexpr std::uint32_t kDetailBits = ~kErrorClassMask;
// System, file and wireless errors look only at the low byte.
constexpr std::uint32_t kLowByte = 0xFF;

void ShowErrorOfClass(std::uint32_t dwClass, std::uint32_t dwCode, CStatusView& view) {
    ErrorTable table;
    switch (dwClass) {
    case kErrorClassPrinter:
        table = MakeTable(kPrinterErrors, kDetailBits, IDS_ERROR, IDS_UNKNOWN_ERROR);
        break;
    case kErrorClassConsumable:
        table = MakeTable(kConsumableErrors, kDetailBits, IDS_CARD_UNKNOWN_ERROR, IDS_CHECK_CONSUMABLE_CARD);
        break;
    case kErrorClassSystem:
        table = MakeTable(kSystemErrors, kLowByte, IDS_SYSTEM_ERROR_UNKNOWN, IDS_NEED_MANUAL_INTERVENTION);
        break;
    case kErrorClassFile:
        table = MakeTable(kFileErrors, kLowByte, IDS_FILE_ERROR_UNKNOWN, IDS_NEED_MANUAL_INTERVENTION);
        break;
    case kErrorClassWireless:
        table =
            MakeTable(kWirelessErrors, kLowByte, IDS_WIRELESS_ERROR_UNKNOWN, IDS_NEED_MANUAL_INTERVENTION);
        break;
    default:
        view.ShowError(IDS_ERROR, IDS_UNKNOWN_ERROR);
        return;
    }
    const std::uint32_t dwTested = dwCode & table.dwTestedBits;
    for (std::size_t i = 0; i < table.nRows; ++i) {
        if ((dwTested & table.pRows[i].dwBit) != 0) {
            view.ShowError(table.pRows[i].nStateId, table.pRows[i].nAdviceId);
            return;
        }
    }
    view.ShowError(table.nUnknownStateId, table.nUnknownAdviceId);
}

Colour TaskBarColour(int nStep) {
    switch (nStep) {
    case 1:
        return kBarYellow;
    case 2:
        return kBarMagenta;
    case 3:
        return kBarCyan;
    case 4:
        return kBarBrown;
    default:
        return kBarGreen;
    }
}

std::int32_t Clamp(std::int32_t nPos) {
    return nPos < 0 ? 0 : (nPos > 100 ? 100 : nPos);
}

} // namespace

int CStatusDisplay::Display(const CStatusSource& device, CStatusView& view) {
    if (!device.IsConnected()) {
        view.ShowNotConnected();
        return 1;
    }

    std::uint32_t dwClass = kErrorClassUnknown;
    const std::uint32_t dwCode = device.GetStatusCode();
    if (device.IsError(&dwClass)) {
        ShowErrorOfClass(dwClass, dwCode, view);
        return 1;
    }

    if (!device.IsPrinting(nullptr)) {
        ShowIdle(device.GetDeviceState(), view);
        return 1;
    }

    const std::uint8_t nPhase = device.GetPrintPhase();
    DebugTrace("Impression en cours ; Status = %d\n", nPhase);

    // While the printer stays after the paper feed, the task bar creeps.
    if (m_nLastPhase == kPhaseFeedIn && nPhase != kPhaseYellow && m_nFeedProgress < 100) {
        SetProgress(view, 0, kSteps, m_nFeedProgress + kFeedCreep);
        m_nFeedProgress += kFeedCreep;
    }

    ShowPhase(nPhase, device, view);
    return 1;
}

void CStatusDisplay::ShowIdle(std::uint8_t nDeviceState, CStatusView& view) {
    switch (nDeviceState) {
    case kStateReady:
        view.ShowStatus(IDS_READY, IDS_WAITING_FOR_JOB, IDS_NONE);
        m_bBeforeFirstPass = true;
        break;
    case kStateBusy:
        view.ShowStatus(IDS_BUSY, IDS_PRINTER_IN_USE, IDS_NONE);
        break;
    case kStateInitialising:
    case kStateInitialising4:
    case kStateInitialising5:
    case kStateInitialising20:
    case kStateInitialising21:
        view.ShowStatus(IDS_INITIALIZING, IDS_DEVICE_INITIALIZATION, IDS_PLEASE_WAIT);
        break;
    default:
        DebugTrace("CDevice::Display() : Unknown device state %d\n", nDeviceState);
        break;
    }
}

void CStatusDisplay::ShowPhase(std::uint8_t nPhase, const CStatusSource& device, CStatusView& view) {
    switch (nPhase) {
    case kPhaseFeedIn:
        view.ShowPrinting(IDS_PAPER_FEED_IN);
        SetProgress(view, 0, kSteps, 0);
        m_nLastPhase = kPhaseFeedIn;
        m_bBeforeFirstPass = true;
        view.StartTimer(kFeedTimerId, kFeedTimerElapseMs);
        m_nFeedProgress = 0;
        break;
    case kPhaseYellow:
        m_bBeforeFirstPass = false;
        view.StopTimer(kFeedTimerId);
        m_nFeedProgress = 0;
        view.ShowPrinting(IDS_YELLOW_PRINTING);
        SetProgress(view, 1, kSteps, device.GetProgress());
        m_nLastPhase = kPhaseYellow;
        break;
    case kPhaseMagenta:
        view.ShowPrinting(IDS_MAGENTA_PRINTING);
        SetProgress(view, 2, kSteps, device.GetProgress());
        m_nLastPhase = kPhaseMagenta;
        break;
    case kPhaseCyan:
        view.ShowPrinting(IDS_CYAN_PRINTING);
        SetProgress(view, 3, kSteps, device.GetProgress());
        m_nLastPhase = kPhaseCyan;
        break;
    case kPhaseCoating:
        view.ShowPrinting(IDS_COATING);
        SetProgress(view, 4, kSteps, device.GetProgress());
        m_nLastPhase = kPhaseCoating;
        break;
    case kPhaseFeedOut:
        view.ShowPrinting(IDS_PAPER_FEED_OUT);
        SetProgress(view, 5, kSteps, 100);
        m_nLastPhase = kPhaseFeedOut;
        break;
    case kPhaseWaiting:
        view.ShowPrinting(m_bBeforeFirstPass ? IDS_PHASE_INITIALIZING : IDS_COOLING_DOWN);
        break;
    default:
        view.ShowPrinting(IDS_NONE);
        break;
    }
}

void CStatusDisplay::SetProgress(CStatusView& view, int nStep, int nSteps, int nPercent) {
    view.SetTaskBarColour(TaskBarColour(nStep));

    view.SetTaskPos(nPercent);
    view.SetTaskPercentText(Format("%d%%", Clamp(view.GetTaskPos())));

    // Signed arithmetic; C++ division truncates the quotient toward zero.
    const std::int32_t nTotal = (nPercent + 100 * nStep) * 100 / (100 * nSteps);
    view.SetTotalPos(nTotal);
    view.SetTotalPercentText(Format("%d%%", Clamp(view.GetTotalPos())));
}
