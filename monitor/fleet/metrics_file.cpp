#include "monitor/fleet/metrics_file.h"

#include <windows.h>

#include "app/trace.h"
#include "framework/unique_handle.h"

namespace {

// The file's text written whole under that name; the error otherwise.
DWORD WriteWhole(const std::wstring& strPath, const std::string& strText) {
    const CUniqueFile hFile(CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return GetLastError();
    DWORD dwWritten = 0;
    if (!WriteFile(hFile.Get(), strText.data(), static_cast<DWORD>(strText.size()), &dwWritten, nullptr))
        return GetLastError();
    return dwWritten == strText.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

} // namespace

CMetricsFile::CMetricsFile(std::uint32_t nSession)
    : m_strFileName(L"nyagent_session" + std::to_wstring(nSession) + L".prom") {}

bool CMetricsFile::Write(const std::wstring& strFolder, const std::string& strText) {
    std::wstring strPath = strFolder;
    if (strPath.back() != L'\\' && strPath.back() != L'/')
        strPath += L'\\';
    strPath += m_strFileName;
    if (strPath != m_strWrittenPath)
        Remove();
    // The textfile collectors read *.prom only: the temporary file is never read.
    const std::wstring strTemporary = strPath + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    DWORD dwError = WriteWhole(strTemporary, strText);
    if (dwError == ERROR_SUCCESS &&
        !MoveFileExW(strTemporary.c_str(), strPath.c_str(), MOVEFILE_REPLACE_EXISTING))
        dwError = GetLastError();
    if (dwError != ERROR_SUCCESS) {
        DeleteFileW(strTemporary.c_str());
        if (!m_bFailing)
            DebugTrace("CMetricsFile::Write() : the metrics file cannot be written. GetLastError() = %d\n",
                       static_cast<int>(dwError));
        m_bFailing = true;
        return false;
    }
    if (m_bFailing)
        DebugTrace("CMetricsFile::Write() : the metrics file is written again\n");
    m_bFailing = false;
    m_strWrittenPath = strPath;
    return true;
}

void CMetricsFile::Remove() {
    if (m_strWrittenPath.empty())
        return;
    if (!DeleteFileW(m_strWrittenPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        DebugTrace("CMetricsFile::Remove() : DeleteFile() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
    m_strWrittenPath.clear();
}
