// A spooler printer block (PRINTER_INFO_2 and the strings it points to) in
// one owned buffer.
#pragma once

#include <cstddef>
#include <memory>

#include <windows.h>
#include <winspool.h>

#include "framework/error_exception.h"

class CPrinterInfo {
public:
    // Thrown when the buffer cannot be allocated; carries the system error.
    class CExcep : public CErrorException {
    public:
        using CErrorException::CErrorException;
    };

    explicit CPrinterInfo(std::size_t nSize = 0);
    virtual ~CPrinterInfo() = default;

    CPrinterInfo(const CPrinterInfo&) = delete;
    // Copies the block and rebases its pointers onto the own buffer, so the
    // copy stands on its own.
    CPrinterInfo& operator=(const CPrinterInfo& other);

    BYTE* GetBuffer() { return m_pBuffer.get(); }
    std::size_t GetSize() const { return m_nSize; }
    // The block, or null while there is none.
    const PRINTER_INFO_2A* GetInfo() const;

private:
    void Allocate(std::size_t nSize);

    std::unique_ptr<BYTE[]> m_pBuffer;
    std::size_t m_nSize = 0;
};
