// The program's narrow texts (string table entries, printer names) are in the
// system's code page; drawing them through the wide functions keeps them
// intact whatever character set the selected font reports.
#pragma once

#include <string>

// The text converted from the system's code page; empty when it cannot be.
std::wstring Widen(const std::string& strNarrow);
