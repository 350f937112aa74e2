// Told by the monitor window, on the user-interface thread, whenever its
// printer set may have changed: after each synchronisation, after the tray's
// Exit removed every printer, and when a printer's controller heard a status
// change. It reads the set there and then, and must not change it.
#pragma once

class CPrinters;

class CPrinterSetObserver {
public:
    virtual void OnPrintersChanged(const CPrinters& printers) = 0;

protected:
    ~CPrinterSetObserver() = default;
};
