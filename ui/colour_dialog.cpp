#include "ui/colour_dialog.h"

#include <commdlg.h>

#include "framework/nested_loop.h"

namespace {

// Hands the colour dialog's window to the one who asked (lCustData) so that
// it can be ended from outside.
UINT_PTR CALLBACK ColourDialogHook(HWND hDlg, UINT nMessage, WPARAM, LPARAM lParam) {
    if (nMessage != WM_INITDIALOG)
        return 0;
    const auto& choose = *reinterpret_cast<const CHOOSECOLORA*>(lParam);
    *reinterpret_cast<HWND*>(choose.lCustData) = hDlg;
    return TRUE;
}

} // namespace

bool ChooseColour(HWND hOwner, COLORREF& crColour) {
    // Exit is under way: the dialog would only be ended again at once.
    if (CNestedLoop::IsEnding())
        return false;
    static COLORREF s_acrCustom[16] = {};
    HWND hColourDialog = nullptr;
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = hOwner;
    choose.rgbResult = crColour;
    choose.lpCustColors = s_acrCustom;
    choose.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT | CC_ENABLEHOOK;
    choose.lCustData = reinterpret_cast<LPARAM>(&hColourDialog);
    choose.lpfnHook = ColourDialogHook;
    // The dialog's own loop runs the other windows' messages: a printer's
    // removal waits until it returns, and Exit ends it.
    const CNestedLoop loop([&hColourDialog] {
        if (hColourDialog)
            ::PostMessageA(hColourDialog, WM_COMMAND, IDCANCEL, 0);
    });
    if (!ChooseColorA(&choose))
        return false;
    crColour = choose.rgbResult;
    return true;
}
