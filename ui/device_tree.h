// What the device information tree shows about one printer: the items' texts,
// their nesting and their pictures, built from what the agent read about it.
// Platform-free; the information and About dialogs put the items into a tree
// view, and the exports write them as text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "monitor/device_info.h"
#include "monitor/device_status.h"
#include "resources/string_ids.h"

namespace device_tree {

// Pictures, by index of the normal image in the tree's image list (icons 150
// to 171 in order); the selected image is the next index.
enum Image : int {
    kImagePrinter = 0,
    kImageShared = 2,
    kImageDevice = 4,
    kImageCounters = 6,
    kImageFirmware = 8,
    kImagePort = 10,
    kImageHead = 12,
    kImagePhotos = 14,
    kImageDriver = 18,
    kImageWifi = 20,
};
constexpr int kImageCount = 22;

struct Item {
    std::string strText;
    int nImage = kImagePrinter;
    std::vector<Item> children;
};

// Everything read about one printer before the tree is built.
struct Source {
    std::string strPrinterName;
    std::string strPortName;
    bool bConnected = false;
    // The spooler's printer block: its shared attribute and driver name.
    bool bPrinterInfo = false;
    bool bShared = false;
    std::string strDriverName;
    bool bInfo = false;
    DEVICE_INFO info = {};
    bool bStatus = false;
    CDeviceStatus status;
    // The spooler's printer data, read when the printer answered nothing.
    std::string strFirmwareVersion;
    std::string strSerialNumber;
    // The agent's own product name and version (first three parts).
    std::string strProductName;
    bool bProductVersion = false;
    unsigned anProductVersion[3] = {};
};

// The text of a string-table entry in the user's language.
using TextLoader = std::function<std::string(StringId)>;

// A checksum or resistor byte as shown: itself from '0' to 'z', a blank for
// 0, '?' for anything else.
char ShownChar(std::uint8_t nByte);

// The printer's item with the whole subtree below it.
Item Build(const Source& source, const TextLoader& loadText);

} // namespace device_tree
