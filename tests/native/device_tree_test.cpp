// The device information tree of three printers, word for word with its
// pictures, and the bytes of the information, About and log exports.
#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>
#include <sstream>

#include "monitor/byte_order.h"
#include "tests/common/trace_capture.h"
#include "ui/device_export.h"
#include "ui/device_tree.h"

namespace {

using device_tree::Item;
using device_tree::Source;

// Each text shows its string-table id.
std::string IdText(StringId nId) {
    return "#" + std::to_string(nId);
}

// One line per item: its picture, its depth in tabs, its text.
void Render(const Item& item, int nDepth, std::string& strOut) {
    strOut += std::to_string(item.nImage) + "|" + std::string(static_cast<std::size_t>(nDepth), '\t') +
              item.strText + "\n";
    for (const Item& child : item.children)
        Render(child, nDepth + 1, strOut);
}

Source Printer(const char* pszName, const char* pszPort) {
    Source source;
    source.strPrinterName = pszName;
    source.strPortName = pszPort;
    source.bConnected = true;
    source.bPrinterInfo = true;
    source.strDriverName = "Kestrel Driver";
    source.strProductName = "NyAgent";
    source.bProductVersion = true;
    source.anProductVersion[0] = 4;
    source.anProductVersion[2] = 4;
    return source;
}

// A USB printer that answers the information request with bad bytes: a
// serial number filling its 16 bytes, counters above 2^31, checksum and
// resistor bytes on both sides of the shown range.
Source UsbPrinter() {
    Source source = Printer("Kestrel A", "USB001");
    source.bShared = true;
    source.bInfo = true;
    std::uint8_t* p = source.info.abData;
    StoreLE16(p + DEVICE_INFO::kOffVendorId, 0x0E7A);
    StoreLE16(p + DEVICE_INFO::kOffProductId, 0x58);
    std::memcpy(p + DEVICE_INFO::kOffSerialNumber, "0123456789ABCDEF", 16);
    std::memcpy(p + DEVICE_INFO::kOffFirmwareVersion, "F1.0\n", 5);
    std::memcpy(p + DEVICE_INFO::kOffBootLoaderVersion, "BOOT1234", 8);
    std::memcpy(p + DEVICE_INFO::kOffFirmwareChecksum, "\x2F\x30\x7A\x7B", 4);
    std::memcpy(p + DEVICE_INFO::kOffBootLoaderChecksum, "\0\377AB", 4);
    StoreLE32(p + DEVICE_INFO::kOffPhotoCounter1, 0x80000000);
    StoreLE32(p + DEVICE_INFO::kOffPhotoCounter2, 0xFFFFFFFF);
    std::memcpy(p + DEVICE_INFO::kOffHeadResistor, "3\0015", 4);
    StoreLE32(p + DEVICE_INFO::kOffInternalCounter1, 3000000000u);
    StoreLE16(p + DEVICE_INFO::kOffInternalCounter2, 65535);
    StoreLE16(p + DEVICE_INFO::kOffInternalCounter3, 2);
    StoreLE16(p + DEVICE_INFO::kOffInternalCounter4, 3);
    // The information record wins over the status record.
    source.bStatus = true;
    source.status.SetProductId(0x3B);
    source.status.Data()[CDeviceStatus::kOffWifiState] = 3;
    return source;
}

// A network printer that answers only the status request.
Source NetworkPrinter() {
    Source source = Printer("Brindle H", "NY_10.0.0.5");
    source.bStatus = true;
    source.status.SetVendorId(0x0E7A);
    source.status.SetProductId(0x3B);
    source.status.SetSerialNumber("SN-7");
    source.status.SetFirmwareVersion("V2.10");
    source.status.Data()[CDeviceStatus::kOffWifiState] = 7;
    source.bProductVersion = false;
    return source;
}

// A printer on a port of no family link, known only from the spooler's printer data.
Source DefaultPrinter(const char* pszFirmware, const char* pszSerial) {
    Source source = Printer("Kestrel on LPT1", "LPT1:");
    source.bConnected = false;
    source.bPrinterInfo = false;
    source.strFirmwareVersion = pszFirmware;
    source.strSerialNumber = pszSerial;
    return source;
}

} // namespace

TEST(DeviceTree, ItemsOfUsbNetworkAndDefaultPrinters) {
    // The product's items but its version, the same for both printers.
    const std::string kProduct = "18|\t#175\n10|\t\t#163 : \"Kestrel Driver\"\n18|\t\t#176 : \"NyAgent\"\n";
    struct Case {
        const char* pszName;
        Source source;
        std::string strExpected;
    } const cases[] = {
        {"usb", UsbPrinter(),
         "0|#161 : \"Kestrel A\"\n"
         "10|\t#162 : \"USB001\"\n"
         "2|\t#164 : \"#180\"\n"
         "4|\t#165\n"
         "4|\t\t#166 : 0x0e7a\n"
         "4|\t\t#167 : 0x0058\n"
         "4|\t\t#182 : Kestrel Model A\n"
         "4|\t\t#168 : \"0123456789ABCDEF\"\n"
         "8|\t\t#169 : \"F1.0?\" (CS=?0z?)\n"
         "8|\t\t#170 : \"BOOT1234\" (CS= ?AB)\n"
         "14|\t\t#171 1 : 2147483648\n"
         "14|\t\t#171 2 : 4294967295\n"
         "12|\t\t#172 : 3?5 \n"
         "6|\t\t#187 : 3000000000.65535.2.3\n"
         "20|\t#188\n"
         "20|\t\t#192\n" +
             kProduct + "18|\t\t#177 : 4.0.4\n"},
        {"network", NetworkPrinter(),
         "0|#161 : \"Brindle H\"\n"
         "10|\t#162 : \"NY_10.0.0.5\"\n"
         "2|\t#164 : \"#181\"\n"
         "4|\t#165\n"
         "4|\t\t#166 : 0x0e7a\n"
         "4|\t\t#167 : 0x003b\n"
         "4|\t\t#182 : Brindle Model H\n"
         "4|\t\t#168 : \"SN-7\"\n"
         "8|\t\t#169 : \"V2.10\"\n"
         "20|\t#188\n"
         "20|\t\t#151 #152\n" +
             kProduct + "18|\t\t#177 : #160\n"},
    };
    for (const Case& c : cases) {
        std::string strTree;
        Render(device_tree::Build(c.source, IdText), 0, strTree);
        EXPECT_EQ(c.strExpected, strTree) << c.pszName;
    }
    // A printer known from its printer data (its device items are checked in the About export under
    // Wine): without the spooler's information the driver is unknown, and one of the two values alone is
    // no identity.
    std::string strTree;
    Render(device_tree::Build(DefaultPrinter("1.23", "K-001"), IdText), 0, strTree);
    EXPECT_NE(std::string::npos, strTree.find("10|\t\t#163 : \"#160\"\n")) << strTree;
    for (const Source& source : {DefaultPrinter("1.23", ""), DefaultPrinter("", "K-001")})
        EXPECT_EQ("#151 #152", device_tree::Build(source, IdText).children.at(2).children.at(0).strText);
}

TEST(DeviceExport, InformationAndAboutTextsAndTheirBytes) {
    std::tm time = {};
    std::istringstream("Mon 2024-03-04 14:05:09") >> std::get_time(&time, "%a %Y-%m-%d %H:%M:%S");
    EXPECT_EQ("Monday, March 04, 2024 (02:05:09 PM)", device_export::FormatTime(time));

    const std::string strRule(78, '=');
    const Item root{"P", 0, {{"A", 10, {{"A1", 4, {}}}}, {"B", 2, {}}}};
    EXPECT_EQ("NyAgent : Device Information : T\r\n" + strRule + "\r\nP\r\n\tA\r\n\t\tA1\r\n\tB\r\n",
              device_export::InfoText("T", root));
    const std::string strAboutHead =
        "NyAgent : About Information : T\r\n" + strRule + "\r\nV 4.0\r\nL C\r\n" + strRule + "\r\n";
    EXPECT_EQ(strAboutHead + "P\r\n\tA\r\n\t\tA1\r\n\tB\r\nQ\r\n",
              device_export::AboutText("T", "V 4.0", "L C", {root, {"Q", 0, {}}}));

    EXPECT_EQ(std::string("A\0\r\0\n\0\xE9\0\x2D\x4E", 10), device_export::Utf16Le(u"A\r\n\u00E9\u4E2D"));
}

TEST(DeviceExport, LogFileGoesOnPastAnEntryThatCannotBeRead) {
    // Entry 1 cannot be read; the count answers with wCount and dwError.
    std::uint16_t wCount = 0;
    std::uint32_t dwError = 0;
    const auto fnCount = [&](std::uint16_t& w) {
        w = wCount;
        return dwError;
    };
    const auto fnEntry = [](std::uint16_t wIndex, DEVICE_LOG& log) -> std::uint32_t {
        StoreLE32(log.abData, wIndex == 0 ? 12 : 0xFFFFFFFF);
        StoreLE16(log.abData + 4, static_cast<std::uint16_t>(0xA0 + wIndex));
        StoreLE16(log.abData + 6, 0xBEEF);
        return wIndex == 1 ? 1167 : 0;
    };
    const device_export::LogReader reader{fnCount, fnEntry};
    const std::string strHead = "NyAgent : Device Logs : T\r\n" + std::string(78, '=') + "\r\n\r\n";
    CTraceCapture traces;
    wCount = 3;
    EXPECT_EQ(strHead + "Event : 0x00a0, nbPages : 12, Flash : 0xbeef\r\n"
                        "Unable to retrieve logs #1. GetLastError() = 1167\r\n"
                        "Event : 0x00a2, nbPages : 4294967295, Flash : 0xbeef\r\n",
              device_export::LogText("T", reader));
    wCount = 0;
    EXPECT_EQ(strHead + "No Logs\r\n", device_export::LogText("T", reader));
    wCount = 5;
    dwError = 31;
    EXPECT_EQ(strHead + "Unable to retrieve the number of logs. GetLastError() = 31\r\n",
              device_export::LogText("T", reader));
    // Each failure traced once, where it happens.
    EXPECT_EQ(
        (std::vector<std::string>{"CInfoDlg::OnButton2() : GetLogs(1) failed. GetLastError() = 1167\n",
                                  "CInfoDlg::OnButton2() : GetNumberOfLogs() failed. GetLastError() = 31\n"}),
        traces.Lines());
}
