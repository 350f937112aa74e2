#include "monitor/status_board_feed.h"

#include <vector>

#include <windows.h>

#include "app/strings.h"
#include "monitor/printers.h"
#include "monitor/record_status_source.h"

namespace {

// The agent's narrow texts are in the system's code page; the protocol's are UTF-8.
std::string ToUtf8(const std::string& strNarrow) {
    if (strNarrow.empty() || GetACP() == CP_UTF8)
        return strNarrow;
    const int nWide =
        MultiByteToWideChar(CP_ACP, 0, strNarrow.data(), static_cast<int>(strNarrow.size()), nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, strNarrow.data(), static_cast<int>(strNarrow.size()), &strWide[0], nWide);
    const int nUtf8 = WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    std::string strUtf8(static_cast<std::size_t>(nUtf8), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, &strUtf8[0], nUtf8, nullptr, nullptr);
    return strUtf8;
}

std::string Text(StringId nId) {
    return nId == IDS_NONE ? std::string() : ToUtf8(LoadString(nId));
}

StatusRoad RoadOf(const CDeviceControl& control) {
    switch (control.GetPortType()) {
    case CDeviceControl::kPortUsb:
        return control.IsWatchedThroughPrintPath() ? StatusRoad::PrintPath : StatusRoad::Usb;
    case CDeviceControl::kPortNetwork:
        return StatusRoad::Network;
    default:
        return StatusRoad::None;
    }
}

} // namespace

void CStatusBoardFeed::Synchronise(const CPrinters& printers) {
    std::vector<std::string> names;
    printers.ForEach([&](const CDeviceControl& control) {
        names.push_back(ToUtf8(control.GetPrinterName()));
        Put(control);
    });
    m_board.Keep(names);
    for (auto it = m_views.begin(); it != m_views.end();) {
        bool bKept = false;
        printers.ForEach(
            [&](const CDeviceControl& control) { bKept = bKept || control.GetPrinterName() == it->first; });
        it = bKept ? std::next(it) : m_views.erase(it);
    }
}

void CStatusBoardFeed::Update(const CPrinters& printers, const CDeviceControl* pControl) {
    printers.ForEach([&](const CDeviceControl& control) {
        if (&control == pControl)
            Put(control);
    });
}

void CStatusBoardFeed::Put(const CDeviceControl& control) {
    CStatusEntry entry;
    entry.strName = ToUtf8(control.GetPrinterName());
    entry.strPort = ToUtf8(control.GetPortName());
    entry.road = RoadOf(control);
    entry.bConnected = control.IsConnected() != FALSE;
    entry.record = control.GetDevice().GetCurrentStatus();
    CPrinterView& printerView = m_views[control.GetPrinterName()];
    const CStatusTextView& view = printerView.view;
    printerView.display.Display(CRecordStatusSource(entry.bConnected, entry.record), printerView.view);
    entry.strStateText = Text(view.GetStateId());
    entry.strAdvice = Text(view.GetAdviceId());
    if (view.GetHintId() != IDS_NONE)
        entry.strAdvice += " " + Text(view.GetHintId());
    entry.nTask = view.GetTaskPos();
    entry.nTotal = view.GetTotalPos();
    m_board.Set(entry);
}
