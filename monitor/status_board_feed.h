// Fills the status board from the printer set, on the user-interface thread:
// after every synchronisation of the set, and whenever a printer's controller
// tells of a status change. Each printer's record is copied once through the
// device's record lock; its texts come from a status interpretation of its
// own, as the printer's status window makes them, loaded in the agent's
// language.
#pragma once

#include <map>
#include <string>

#include "monitor/status_board.h"
#include "monitor/status_display.h"
#include "monitor/status_text_view.h"

class CDeviceControl;
class CPrinters;

class CStatusBoardFeed {
public:
    explicit CStatusBoardFeed(CStatusBoard& board) : m_board(board) {}
    CStatusBoardFeed(const CStatusBoardFeed&) = delete;
    CStatusBoardFeed& operator=(const CStatusBoardFeed&) = delete;

    // Every printer of the set, and the board's printers that left it removed.
    void Synchronise(const CPrinters& printers);
    // The printer of pControl, when the set still holds that controller.
    void Update(const CPrinters& printers, const CDeviceControl* pControl);

private:
    void Put(const CDeviceControl& control);

    // A printer's interpretation and the texts and bars it last chose, kept
    // from change to change as the printer's status window keeps them.
    struct CPrinterView {
        CStatusDisplay display;
        CStatusTextView view;
    };

    CStatusBoard& m_board;
    std::map<std::string, CPrinterView> m_views;
};
