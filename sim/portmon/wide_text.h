// Conversions between the spooler's wide text and the program's narrow text,
// in the process's ANSI code page.
#pragma once

#include <string>

// A character without an exact narrow form becomes '?'.
std::string Narrow(const std::wstring& strWide);
std::wstring Widen(const std::string& strNarrow);
