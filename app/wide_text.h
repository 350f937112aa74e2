// The program's narrow texts (string table entries, printer names) are in the
// system's code page; drawing them through the wide functions keeps them
// intact whatever character set the selected font reports. The texts that
// leave the agent (the status pipe's answers, the fleet's reports) are UTF-8.
#pragma once

#include <string>

// The text converted from the system's code page; empty when it cannot be.
std::wstring Widen(const std::string& strNarrow);
// The text converted from UTF-8, invalid sequences as U+FFFD; empty when it cannot be.
std::wstring WideFromUtf8(const std::string& strUtf8);
// The text as UTF-8; empty when it cannot be converted.
std::string Utf8FromWide(const std::wstring& strWide);
