// Where a printer's controller gets its status window from. The user
// interface implements it above the core; the controller creates the window
// hidden with the monitor window as its parent, posts it the status messages,
// shows it on request and destroys it first when it goes.
#pragma once

#include <memory>

class CDeviceControl;
class CDialog;

class CStatusWindowSource {
public:
    virtual ~CStatusWindowSource() = default;

    // A new, not yet created status window (template 102) for the printer of
    // pControl. Throws std::bad_alloc when it cannot be allocated.
    virtual std::unique_ptr<CDialog> CreateStatusWindow(CDeviceControl* pControl) = 0;

protected:
    CStatusWindowSource() = default;
    CStatusWindowSource(const CStatusWindowSource&) = delete;
    CStatusWindowSource& operator=(const CStatusWindowSource&) = delete;
};
