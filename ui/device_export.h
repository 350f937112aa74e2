// The text files the information and About dialogs write: the information
// export (a banner and the tree, one item per line, children indented by one
// tab per level, CR LF line ends, stored as UTF-16LE with a byte-order mark)
// and the log export of a USB printer (narrow text). Platform-free.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "monitor/device_info.h"
#include "ui/device_tree.h"

namespace device_export {

// The banner's time: "Monday, March 04, 2024 (02:05:09 PM)" in the C locale.
std::string FormatTime(const std::tm& time);

// The item at nDepth tabs, then its children one level deeper, depth first.
void AppendItem(const device_tree::Item& item, int nDepth, std::string& strOut);

// The information dialog's export of one printer's tree.
std::string InfoText(const std::string& strTime, const device_tree::Item& root);
// The About dialog's export: its version and legal lines, then every printer's tree.
std::string AboutText(const std::string& strTime, const std::string& strVersion, const std::string& strLegal,
                      const std::vector<device_tree::Item>& roots);

// What a UTF-16LE text file starts with.
constexpr char kByteOrderMark[] = "\xFF\xFE";
// The text's bytes in such a file, without a terminator.
std::string Utf16Le(const std::u16string& strText);

// What the log export asks the printer: the number of entries, then each entry
// by index; each answers 0 or a Windows error code.
struct LogReader {
    std::function<std::uint32_t(std::uint16_t& wCount)> fnCount;
    std::function<std::uint32_t(std::uint16_t wIndex, DEVICE_LOG& log)> fnEntry;
};

// The log file's bytes, with CR LF line ends. An entry that cannot be read is
// traced and named in the file; the following entries are still read.
std::string LogText(const std::string& strTime, const LogReader& reader);

} // namespace device_export
