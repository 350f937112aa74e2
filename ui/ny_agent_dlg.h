// A printer's status window (template 102). Its controller creates it hidden
// and posts it the status messages from the device's polling thread; they
// arrive here on the main thread. The window opens by itself on an error or a
// job (as the user's settings say) without taking the keyboard focus, closes
// when that condition ends, shows the printer's state in one of its layouts
// (not connected, error, idle, printing) at the window's DPI, and sends
// Cancel and Resume to the device.
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
#include "ui/status_layout.h"
#include "ui/unique_gdi.h"

class CDeviceControl;

class CNyAgentDlg : public CDialog, private CStatusView {
public:
    // Timer 1 closes a window that an error opened.
    static constexpr UINT_PTR kErrorTimerId = 1;
    static constexpr UINT kErrorCloseMs = 60000;

    // nErrorCloseMs: how long a window opened by an error stays open.
    explicit CNyAgentDlg(CDeviceControl* pDeviceControl, UINT nErrorCloseMs = kErrorCloseMs);

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

    // Status messages of the controller.
    void Display();
    void OnErrorRaised();
    void OnErrorCleared();
    void OnPrintingStarted();
    void OnPrintingEnded();

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
    void OnDisplayChange(int nWidth, int nHeight);
    void OnDpiChanged(unsigned nDpi, const RECT& rcSuggested);
    void OnShowWindow();
    LRESULT OnCtlColor(HDC hdc, HWND hControl) const;

    // Opens the window without taking the focus from the user's work.
    void OpenByItself();
    // Hides the window and forgets why it was opened.
    void Hide();
    // The window no longer closes when its error or job ends, nor on the
    // error's timer.
    void ForgetWhyOpened();

    // Puts the window and its controls where the current layout wants them.
    void ApplyLayout();
    void LayoutButtons(int nWidth, int nHeight);
    void MeasureButtonWidths();
    status_layout::Size MeasureText(HWND hWnd, HFONT hFont, const std::string& strText) const;
    void Place(int nId, const status_layout::Rect& rc, const std::string& strText, bool bVisible);
    void PlaceBar(CColorProgressCtrl& bar, const status_layout::Rect& rc, bool bVisible);
    RECT WorkArea() const;
    bool ChooseColour(COLORREF& crColour);

    CDeviceControl* m_pDeviceControl;
    UINT m_nErrorCloseMs;
    CStatusDisplay m_display;
    CDialogLook m_look;

    int m_nWidthOK = 70;
    int m_nWidthClose = 70;
    int m_nWidthCancel = 70;
    int m_nWidthResume = 70;
    CUniqueIcon m_hIcon;
    CUniqueIcon m_hSmallIcon;

    // What the current layout shows.
    status_layout::Layout m_layout = status_layout::Layout::NotConnected;
    std::string m_strState;
    std::string m_strDetail;
    std::string m_strHint;
    std::string m_strAdvice;
    std::string m_strPhase;
    // A failed command's message; shown on the lower line until the next layout.
    std::string m_strFailure;

    CColorProgressCtrl m_TaskProgress;
    CColorProgressCtrl m_TotalProgress;
    CPropertiesButton m_PropertiesButton;
    CHelpButton m_HelpButton;
    bool m_bOpenedOnError = false;
    bool m_bOpenedWhenPrinting = false;
    // The window's bottom-right corner on the screen.
    POINT m_ptPosition = {};
    CUniqueBitmap m_bmPattern;
    CUniqueBrush m_brPattern;
};
