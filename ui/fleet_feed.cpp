#include "ui/fleet_feed.h"

#include <cstring>
#include <vector>

#include "app/utf8_text.h"
#include "app/wide_text.h"
#include "monitor/device_control.h"
#include "monitor/models.h"
#include "monitor/printers.h"
#include "ui/device_status_source.h"
// After <windows.h>, whose LoadString macro it takes back.
#include "app/strings.h"

namespace {

std::string Utf8(const std::string& strNarrow) {
    return Utf8FromWide(Widen(strNarrow));
}

std::string Text(StringId nId) {
    return nId == IDS_NONE ? std::string() : Utf8(LoadString(nId));
}

// Keeps what the status interpretation chose: the texts and the bars.
class CSnapshotView : public CStatusView {
public:
    void ShowNotConnected() override { Keep(IDS_NOT_CONNECTED, IDS_NONE); }
    void ShowError(StringId nStateId, StringId nAdviceId) override { Keep(nStateId, nAdviceId); }
    void ShowStatus(StringId nStateId, StringId nDetailId, StringId) override { Keep(nStateId, nDetailId); }
    void ShowPrinting(StringId nPhaseId) override { Keep(IDS_PRINTING, nPhaseId); }
    void StartTimer(std::uint32_t, std::uint32_t) override {}
    void StopTimer(std::uint32_t) override {}
    void SetTaskBarColour(Colour) override {}
    void SetTaskPos(std::int32_t nPos) override { m_nTask = nPos; }
    std::int32_t GetTaskPos() const override { return m_nTask; }
    void SetTotalPos(std::int32_t nPos) override { m_nTotal = nPos; }
    std::int32_t GetTotalPos() const override { return m_nTotal; }
    void SetTaskPercentText(const std::string&) override {}
    void SetTotalPercentText(const std::string&) override {}

    StringId m_nStateId = IDS_NONE;
    StringId m_nAdviceId = IDS_NONE;
    std::int32_t m_nTask = 0;
    std::int32_t m_nTotal = 0;

private:
    void Keep(StringId nStateId, StringId nAdviceId) {
        m_nStateId = nStateId;
        m_nAdviceId = nAdviceId;
    }
};

} // namespace

void CFleetFeed::OnPrintersChanged(const CPrinters& printers) {
    std::vector<CPrinterSnapshot> snapshots;
    std::map<std::string, CPrinterView> views;
    printers.ForEach([&](const CDeviceControl& control) {
        const auto it = m_views.find(control.GetPrinterName());
        CPrinterView& view = views[control.GetPrinterName()];
        if (it != m_views.end())
            view = it->second;
        snapshots.push_back(Take(control, view));
    });
    m_views.swap(views);
    m_board.Publish(std::move(snapshots));
}

CPrinterSnapshot CFleetFeed::Take(const CDeviceControl& control, CPrinterView& view) const {
    const CDevice& device = control.GetDevice();
    CPrinterSnapshot printer;
    printer.strName = Utf8(control.GetPrinterName());
    printer.strPort = Utf8(control.GetPortName());
    switch (control.GetPortType()) {
    case CDeviceControl::kPortUsb:
        printer.road = m_bUseNyStatusMonitor ? PrinterRoad::PrintPath : PrinterRoad::Usb;
        break;
    case CDeviceControl::kPortNetwork:
        printer.road = PrinterRoad::Network;
        break;
    default:
        printer.road = PrinterRoad::None;
        break;
    }
    const bool bConnected = device.IsConnected() != FALSE;
    if (const char* pszModel = GetModelName(device.GetProductId());
        bConnected && std::strcmp(pszModel, "???") != 0)
        view.strModel = pszModel;
    printer.strModel = view.strModel;
    if (!bConnected)
        printer.state = PrinterState::NotConnected;
    else if (device.IsError(nullptr))
        printer.state = PrinterState::Error;
    else if (device.IsPrinting(nullptr))
        printer.state = PrinterState::Printing;
    else
        printer.state = PrinterState::Idle;
    printer.dwErrorCode = printer.state == PrinterState::Error ? device.GetStatusCode() : 0;
    CSnapshotView texts;
    view.display.Display(CDeviceStatusSource(device), texts);
    printer.strStateText = Text(texts.m_nStateId);
    printer.strAdvice = Text(texts.m_nAdviceId);
    printer.nTaskPercent = texts.m_nTask;
    printer.nTotalPercent = texts.m_nTotal;
    return printer;
}
