#include "ui/device_tree.h"

#include "app/format.h"
#include "monitor/models.h"

namespace device_tree {

namespace {

// The printer's text fields are shown as they come, except that control
// bytes become '?': one item stays one line in the exports.
std::string Printable(std::string strText) {
    for (char& c : strText)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return strText;
}

class CBuilder {
public:
    CBuilder(const Source& source, const TextLoader& loadText)
        : m_source(source), m_loadText(loadText), m_strNotAvailable(loadText(IDS_NOT_AVAILABLE)) {}

    Item Build() const {
        Item printer{Quoted(IDS_PRINTER_NAME, m_source.strPrinterName), kImagePrinter, {}};
        printer.children.push_back({Quoted(IDS_PORT_NAME, m_source.strPortName), kImagePort, {}});
        printer.children.push_back({Quoted(IDS_SHARED, SharedText()), kImageShared, {}});
        printer.children.push_back(Device());
        printer.children.push_back(Wifi());
        printer.children.push_back(Driver());
        return printer;
    }

private:
    std::string Text(StringId nId) const { return m_loadText(nId); }
    std::string Quoted(StringId nLabel, const std::string& strValue) const {
        return Format("%s : \"%s\"", Text(nLabel).c_str(), strValue.c_str());
    }
    std::string Hex(StringId nLabel, std::uint16_t wValue) const {
        return Format("%s : 0x%04x", Text(nLabel).c_str(), static_cast<unsigned>(wValue));
    }
    std::string Plain(StringId nLabel, const std::string& strValue) const {
        return Format("%s : %s", Text(nLabel).c_str(), strValue.c_str());
    }
    std::string Checksummed(StringId nLabel, const std::string& strValue,
                            const std::uint8_t* pChecksum) const {
        return Format("%s : \"%s\" (CS=%c%c%c%c)", Text(nLabel).c_str(), Printable(strValue).c_str(),
                      ShownChar(pChecksum[0]), ShownChar(pChecksum[1]), ShownChar(pChecksum[2]),
                      ShownChar(pChecksum[3]));
    }
    std::string NotAvailableSentence() const {
        return Format("%s %s", Text(IDS_INFO_NOT_AVAILABLE).c_str(), Text(IDS_BLANK).c_str());
    }

    std::string SharedText() const {
        if (!m_source.bPrinterInfo)
            return m_strNotAvailable;
        return Text(m_source.bShared ? IDS_YES : IDS_NO);
    }

    Item Device() const {
        Item device{Text(IDS_DEVICE), kImageDevice, {}};
        if (!m_source.bConnected)
            device.strText += " (" + Text(IDS_NOT_CONNECTED) + ")";
        std::vector<Item>& items = device.children;
        const auto identity = [&](std::uint16_t wVendorId, std::uint16_t wProductId) {
            items.push_back({Hex(IDS_VENDOR_ID, wVendorId), kImageDevice, {}});
            items.push_back({Hex(IDS_PRODUCT_ID, wProductId), kImageDevice, {}});
            items.push_back({Plain(IDS_MODEL, GetModelName(wProductId)), kImageDevice, {}});
        };
        if (m_source.bInfo) {
            const DEVICE_INFO& info = m_source.info;
            identity(info.VendorId(), info.ProductId());
            items.push_back({Quoted(IDS_SERIAL_NUMBER, Printable(info.SerialNumber())), kImageDevice, {}});
            items.push_back({Checksummed(IDS_FIRMWARE, info.FirmwareVersion(), info.FirmwareChecksum()),
                             kImageFirmware,
                             {}});
            items.push_back(
                {Checksummed(IDS_BOOT_LOADER, info.BootLoaderVersion(), info.BootLoaderChecksum()),
                 kImageFirmware,
                 {}});
            const std::string strPhotos = Text(IDS_PHOTO_COUNTER);
            items.push_back({Format("%s 1 : %u", strPhotos.c_str(), info.PhotoCounter1()), kImagePhotos, {}});
            items.push_back({Format("%s 2 : %u", strPhotos.c_str(), info.PhotoCounter2()), kImagePhotos, {}});
            const std::uint8_t* pHead = info.HeadResistor();
            items.push_back(
                {Format("%s : %c%c%c%c", Text(IDS_HEAD_RESISTOR_VALUE).c_str(), ShownChar(pHead[0]),
                        ShownChar(pHead[1]), ShownChar(pHead[2]), ShownChar(pHead[3])),
                 kImageHead,
                 {}});
            items.push_back({Format("%s : %u.%u.%u.%u", Text(IDS_INTERNAL_COUNTERS).c_str(),
                                    info.InternalCounter1(), static_cast<unsigned>(info.InternalCounter2()),
                                    static_cast<unsigned>(info.InternalCounter3()),
                                    static_cast<unsigned>(info.InternalCounter4())),
                             kImageCounters,
                             {}});
        } else if (m_source.bStatus) {
            const CDeviceStatus& status = m_source.status;
            identity(status.GetVendorId(), status.GetProductId());
            items.push_back(
                {Quoted(IDS_SERIAL_NUMBER, Printable(status.GetSerialNumber())), kImageDevice, {}});
            items.push_back(
                {Quoted(IDS_FIRMWARE, Printable(status.GetFirmwareVersion())), kImageFirmware, {}});
        } else if (!m_source.strFirmwareVersion.empty() && !m_source.strSerialNumber.empty()) {
            items.push_back(
                {Quoted(IDS_FIRMWARE, Printable(m_source.strFirmwareVersion)), kImageFirmware, {}});
            items.push_back(
                {Quoted(IDS_SERIAL_NUMBER, Printable(m_source.strSerialNumber)), kImageDevice, {}});
        } else {
            items.push_back({NotAvailableSentence(), kImageDevice, {}});
        }
        return device;
    }

    Item Wifi() const {
        Item wifi{Text(IDS_WIFI), kImageWifi, {}};
        const std::uint8_t nState = m_source.status.GetWifiState();
        const bool bKnown = m_source.bStatus && nState <= 3;
        wifi.children.push_back(
            {bKnown ? Text(IDS_WIFI_DONGLE_NOT_CONNECTED + nState) : NotAvailableSentence(), kImageWifi, {}});
        return wifi;
    }

    Item Driver() const {
        Item driver{Text(IDS_DRIVER), kImageDriver, {}};
        driver.children.push_back(
            {Quoted(IDS_DRIVER_NAME, m_source.bPrinterInfo ? m_source.strDriverName : m_strNotAvailable),
             kImagePort,
             {}});
        driver.children.push_back({Quoted(IDS_PRODUCT_NAME, m_source.strProductName), kImageDriver, {}});
        const unsigned* pVersion = m_source.anProductVersion;
        driver.children.push_back({m_source.bProductVersion
                                       ? Format("%s : %u.%u.%u", Text(IDS_PRODUCT_VERSION).c_str(),
                                                pVersion[0], pVersion[1], pVersion[2])
                                       : Plain(IDS_PRODUCT_VERSION, m_strNotAvailable),
                                   kImageDriver,
                                   {}});
        return driver;
    }

    const Source& m_source;
    const TextLoader& m_loadText;
    const std::string m_strNotAvailable;
};

} // namespace

char ShownChar(std::uint8_t nByte) {
    if (nByte == 0)
        return ' ';
    if (nByte >= '0' && nByte <= 'z')
        return static_cast<char>(nByte);
    return '?';
}

Item Build(const Source& source, const TextLoader& loadText) {
    return CBuilder(source, loadText).Build();
}

} // namespace device_tree
