// Owner of a spooler printer handle: closes it once, can be moved but not copied.
#pragma once

#include <windows.h>
#include <winspool.h>

class CPrinterHandle {
public:
    CPrinterHandle() = default;
    ~CPrinterHandle() { Close(); }

    CPrinterHandle(const CPrinterHandle&) = delete;
    CPrinterHandle& operator=(const CPrinterHandle&) = delete;
    CPrinterHandle(CPrinterHandle&& other) noexcept : m_hPrinter(other.m_hPrinter) {
        other.m_hPrinter = nullptr;
    }
    CPrinterHandle& operator=(CPrinterHandle&& other) noexcept {
        if (this != &other) {
            Close();
            m_hPrinter = other.m_hPrinter;
            other.m_hPrinter = nullptr;
        }
        return *this;
    }

    HANDLE Get() const { return m_hPrinter; }

    // The slot that OpenPrinter fills in; a handle held before is closed first.
    HANDLE* Receive() {
        Close();
        return &m_hPrinter;
    }

private:
    void Close() {
        if (m_hPrinter)
            ClosePrinter(m_hPrinter);
        m_hPrinter = nullptr;
    }

    HANDLE m_hPrinter = nullptr;
};
