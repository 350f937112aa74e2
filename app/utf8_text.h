// UTF-8, the text of the fleet's reports, from and to the wide text of the
// system's calls.
#pragma once

#include <string>

std::string Utf8FromWide(const std::wstring& strWide);
// Invalid sequences become U+FFFD.
std::wstring WideFromUtf8(const std::string& strUtf8);
