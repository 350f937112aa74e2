#include "monitor/printer_info.h"

#include <cstring>
#include <new>

#include "app/trace.h"

CPrinterInfo::CPrinterInfo(std::size_t nSize) { Allocate(nSize); }

void CPrinterInfo::Allocate(std::size_t nSize) {
    m_pBuffer.reset();
    m_nSize = 0;
    if (nSize == 0)
        return;
    m_pBuffer.reset(new (std::nothrow) BYTE[nSize]);
    if (!m_pBuffer) {
        DebugTrace("CPrinterInfo::CPrinterInfo() : Unable to allocate m_pBuffer. Required size = %d\n",
                   static_cast<int>(nSize));
        throw CExcep(ERROR_NOT_ENOUGH_MEMORY);
    }
    m_nSize = nSize;
}

const PRINTER_INFO_2A* CPrinterInfo::GetInfo() const {
    if (m_nSize < sizeof(PRINTER_INFO_2A))
        return nullptr;
    return reinterpret_cast<const PRINTER_INFO_2A*>(m_pBuffer.get());
}

namespace {

// Moves one pointer of the block from the source buffer to the same place in
// the copy. A pointer that does not lie in the source buffer cannot be
// carried over and becomes null.
template <typename T> void Rebase(T*& pField, const BYTE* pOldBase, std::size_t nSize, BYTE* pNewBase) {
    if (!pField)
        return;
    const BYTE* pOld = reinterpret_cast<const BYTE*>(pField);
    if (pOld < pOldBase || pOld >= pOldBase + nSize) {
        pField = nullptr;
        return;
    }
    pField = reinterpret_cast<T*>(pNewBase + (pOld - pOldBase));
}

} // namespace

CPrinterInfo& CPrinterInfo::operator=(const CPrinterInfo& other) {
    if (this == &other)
        return *this;
    Allocate(other.m_nSize);
    if (m_nSize == 0)
        return *this;
    std::memcpy(m_pBuffer.get(), other.m_pBuffer.get(), m_nSize);
    if (m_nSize < sizeof(PRINTER_INFO_2A))
        return *this;
    PRINTER_INFO_2A* pInfo = reinterpret_cast<PRINTER_INFO_2A*>(m_pBuffer.get());
    const BYTE* pOldBase = other.m_pBuffer.get();
    BYTE* pNewBase = m_pBuffer.get();
    Rebase(pInfo->pServerName, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pPrinterName, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pShareName, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pPortName, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pDriverName, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pComment, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pLocation, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pDevMode, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pSepFile, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pPrintProcessor, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pDatatype, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pParameters, pOldBase, m_nSize, pNewBase);
    Rebase(pInfo->pSecurityDescriptor, pOldBase, m_nSize, pNewBase);
    return *this;
}
