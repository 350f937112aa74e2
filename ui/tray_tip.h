// The tray icon's tip while a printer reports an error: the product, then the
// printer's name, within what the notification record holds. Narrow text is
// in a code page whose characters may take several bytes (UTF-8, or a
// double-byte page): the tip is shortened between two characters, never
// inside one.
#pragma once

#include <cstddef>
#include <string>

#include <windows.h>

namespace tray_tip {

// The longest tip the record holds, without its terminating zero.
constexpr std::size_t kMaxTip = 63;

// "product - printer", the printer's name cut and followed by "..." when the
// whole does not fit; the product alone, cut, when even it does not.
std::string ErrorTip(const std::string& strProduct, const std::string& strPrinter, UINT nCodePage = CP_ACP);

} // namespace tray_tip
