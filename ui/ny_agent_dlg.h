// A printer's status window (template 102). Its controller creates it hidden
// and posts it the status messages from the device's polling thread; they
// arrive here on the main thread. The window opens by itself on an error or a
// job (as the user's settings say) without taking the keyboard focus, and
// closes when that condition ends (CStatusWindowPolicy); it shows the
// printer's state in one of its layouts (CStatusWindowLayout) painted in the
// user's colours (CStatusWindowPaint), and sends Cancel and Resume to the
// device. This class handles the messages, the buttons and the keys.
#pragma once

#include <string>

#include <windows.h>

#include "framework/dialog.h"
#include "monitor/status_display.h"
#include "monitor/status_view.h"
#include "ui/color_progress_ctrl.h"
#include "ui/dialog_look.h"
#include "ui/help_button.h"
#include "ui/properties_button.h"
#include "ui/status_window_layout.h"
#include "ui/status_window_paint.h"
#include "ui/status_window_policy.h"
#include "ui/unique_gdi.h"

class CAgentSettings;
class CDeviceControl;

class CNyAgentDlg : public CDialog, private CStatusView {
public:
    // Timer 1 closes a window that an error opened.
    static constexpr UINT_PTR kErrorTimerId = 1;
    static constexpr UINT kErrorCloseMs = 60000;

    // pSettings: whether the window opens by itself; without settings it never
    // does. nErrorCloseMs: how long a window opened by an error stays open.
    CNyAgentDlg(CDeviceControl* pDeviceControl, const CAgentSettings* pSettings,
                UINT nErrorCloseMs = kErrorCloseMs);

protected:
    BOOL OnInitDialog() override;
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    // Display operations, called by m_display.
    void ShowNotConnected() override;
    void ShowError(StringId nStateId, StringId nAdviceId) override;
    void ShowStatus(StringId nStateId, StringId nDetailId, StringId nHintId) override;
    void ShowPrinting(StringId nPhaseId) override;
    void StartTimer(std::uint32_t nTimerId, std::uint32_t nElapseMs) override;
    void StopTimer(std::uint32_t nTimerId) override;
    void SetTaskBarColour(Colour crBar) override;
    void SetTaskPos(std::int32_t nPos) override;
    std::int32_t GetTaskPos() const override;
    void SetTotalPos(std::int32_t nPos) override;
    std::int32_t GetTotalPos() const override;
    void SetTaskPercentText(const std::string& strText) override;
    void SetTotalPercentText(const std::string& strText) override;

    void Display();
    // Opens or closes the window as the policy answers the event.
    void Apply(status_window::Event event);

    // User commands.
    void OnCommand(UINT nId, HWND hControl);
    void OnCancel();
    void OnResume();
    // A Cancel or Resume that did not reach the printer, told to the user.
    void ShowCommandFailure(StringId nMessageId);
    void OnHelpButton();
    void OnPropertiesButton();
    void OnTimer(UINT_PTR nId);
    void OnChar(UINT nChar);
    void OnDpiChanged(unsigned nDpi, const RECT& rcSuggested);
    void OnShowWindow();

    CDeviceControl* m_pDeviceControl;
    const CAgentSettings* m_pSettings;
    UINT m_nErrorCloseMs;
    CStatusDisplay m_display;
    CDialogLook m_look;
    status_window::CStatusWindowPolicy m_policy;

    CUniqueIcon m_hIcon;
    CUniqueIcon m_hSmallIcon;
    CColorProgressCtrl m_TaskProgress;
    CColorProgressCtrl m_TotalProgress;
    CPropertiesButton m_PropertiesButton;
    CHelpButton m_HelpButton;
    CStatusWindowLayout m_layout;
    CStatusWindowPaint m_paint;
};
