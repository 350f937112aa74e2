// Base of the nested exceptions that carry a Windows error code out of a
// constructor that could not complete.
#pragma once

#include <windows.h>

class CErrorException {
public:
    explicit CErrorException(DWORD dwError) : m_dwError(dwError) {}
    DWORD GetError() const { return m_dwError; }

private:
    DWORD m_dwError;
};
