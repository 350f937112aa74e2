// A text file written as UTF-16LE: the byte-order mark first, then each string
// converted from the process's ANSI code page, without terminators.
#pragma once

#include <string>

#include <windows.h>

#include "framework/unique_handle.h"

class CUnicodeFile {
public:
    CUnicodeFile() = default;
    CUnicodeFile(const CUnicodeFile&) = delete;
    CUnicodeFile& operator=(const CUnicodeFile&) = delete;

    // Creates the file or empties an existing one, for writing; others may
    // read it meanwhile. FALSE with the system's error left in GetLastError.
    BOOL Open(const char* pszPath);
    // Writes the byte-order mark when the file is still empty, then the text.
    BOOL WriteString(const std::string& strText);
    void Close() { m_hFile.Reset(); }

private:
    CUniqueFile m_hFile;
};
