#include "ui/unicode_file.h"

#include "ui/device_export.h"

namespace {

BOOL WriteBytes(HANDLE hFile, const std::string& strBytes) {
    DWORD dwWritten = 0;
    return WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr) &&
           dwWritten == strBytes.size();
}

} // namespace

BOOL CUnicodeFile::Open(const char* pszPath) {
    m_hFile.Reset(CreateFileA(pszPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_hFile ? TRUE : FALSE;
}

BOOL CUnicodeFile::WriteString(const std::string& strText) {
    if (!m_hFile)
        return FALSE;
    std::u16string strWide;
    if (!strText.empty()) {
        const int nSize = static_cast<int>(strText.size());
        const int nWide = MultiByteToWideChar(CP_ACP, 0, strText.data(), nSize, nullptr, 0);
        if (nWide <= 0)
            return FALSE;
        std::wstring strConverted(static_cast<std::size_t>(nWide), L'\0');
        MultiByteToWideChar(CP_ACP, 0, strText.data(), nSize, strConverted.data(), nWide);
        strWide.assign(strConverted.begin(), strConverted.end());
    }
    LARGE_INTEGER position = {};
    const LARGE_INTEGER zero = {};
    if (!SetFilePointerEx(m_hFile.Get(), zero, &position, FILE_CURRENT))
        return FALSE;
    if (position.QuadPart == 0 && !WriteBytes(m_hFile.Get(), device_export::kByteOrderMark))
        return FALSE;
    return WriteBytes(m_hFile.Get(), device_export::Utf16Le(strWide));
}
