// The device information tree of three printers, word for word with its
// pictures, and the bytes of the information, About and log exports.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <regex>

#include "monitor/byte_order.h"
#include "tests/common/trace_capture.h"
#include "ui/device_export.h"
#include "ui/device_tree.h"

namespace {

using device_tree::Item;
using device_tree::Source;

// The English string table, read from its resource script.
std::string EnglishText(StringId nId) {
    static const std::map<StringId, std::string> s_texts = [] {
        std::map<StringId, std::string> texts;
        std::ifstream file(NY_SOURCE_DIR "/resources/lang/en.rc");
        const std::regex entry(R"re(^\s*(\d+),\s*"(.*)"\s*$)re");
        std::smatch match;
        for (std::string strLine; std::getline(file, strLine);)
            if (std::regex_match(strLine, match, entry))
                texts[static_cast<StringId>(std::stoul(match[1]))] =
                    std::regex_replace(match[2].str(), std::regex("\"\""), "\"");
        return texts;
    }();
    const auto it = s_texts.find(nId);
    return it == s_texts.end() ? "<" + std::to_string(nId) + ">" : it->second;
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
    std::memcpy(p + DEVICE_INFO::kOffBootLoaderChecksum,
                "\x00\xFF"
                "AB",
                4);
    StoreLE32(p + DEVICE_INFO::kOffPhotoCounter1, 0x80000000);
    StoreLE32(p + DEVICE_INFO::kOffPhotoCounter2, 0xFFFFFFFF);
    std::memcpy(p + DEVICE_INFO::kOffHeadResistor,
                "3\x01"
                "5\x00",
                4);
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
    const std::string strNotAvailable =
        "Information on the device is not available.  "; // sentence 151, then entry 152, a blank
    struct Case {
        const char* pszName;
        Source source;
        std::string strExpected;
    } const cases[] = {
        {"usb", UsbPrinter(),
         "0|Printer Name : \"Kestrel A\"\n"
         "10|\tPort Name : \"USB001\"\n"
         "2|\tShared : \"Yes\"\n"
         "4|\tDevice\n"
         "4|\t\tVendor ID : 0x0e7a\n"
         "4|\t\tProduct ID : 0x0058\n"
         "4|\t\tModel : Kestrel Model A\n"
         "4|\t\tSerial Number : \"0123456789ABCDEF\"\n"
         "8|\t\tFirmware : \"F1.0?\" (CS=?0z?)\n"
         "8|\t\tBoot Loader : \"BOOT1234\" (CS= ?AB)\n"
         "14|\t\tPhoto Counter 1 : 2147483648\n"
         "14|\t\tPhoto Counter 2 : 4294967295\n"
         "12|\t\tThermal Head Resistor Value : 3?5 \n"
         "6|\t\tInternal Counters : 3000000000.65535.2.3\n"
         "20|\tWiFi\n"
         "20|\t\tWIFI dongle ON - Ready for wireless printing\n"
         "18|\tDriver\n"
         "10|\t\tDriver Name : \"Kestrel Driver\"\n"
         "18|\t\tProduct Name : \"NyAgent\"\n"
         "18|\t\tProduct Version : 4.0.4\n"},
        {"network", NetworkPrinter(),
         "0|Printer Name : \"Brindle H\"\n"
         "10|\tPort Name : \"NY_10.0.0.5\"\n"
         "2|\tShared : \"No\"\n"
         "4|\tDevice\n"
         "4|\t\tVendor ID : 0x0e7a\n"
         "4|\t\tProduct ID : 0x003b\n"
         "4|\t\tModel : Brindle Model H\n"
         "4|\t\tSerial Number : \"SN-7\"\n"
         "8|\t\tFirmware : \"V2.10\"\n"
         "20|\tWiFi\n"
         "20|\t\t" +
             strNotAvailable +
             "\n"
             "18|\tDriver\n"
             "10|\t\tDriver Name : \"Kestrel Driver\"\n"
             "18|\t\tProduct Name : \"NyAgent\"\n"
             "18|\t\tProduct Version : Not Available\n"},
        {"default, printer data", DefaultPrinter("1.23", "K-001"),
         "0|Printer Name : \"Kestrel on LPT1\"\n"
         "10|\tPort Name : \"LPT1:\"\n"
         "2|\tShared : \"Not Available\"\n"
         "4|\tDevice (Not connected)\n"
         "8|\t\tFirmware : \"1.23\"\n"
         "4|\t\tSerial Number : \"K-001\"\n"
         "20|\tWiFi\n"
         "20|\t\t" +
             strNotAvailable +
             "\n"
             "18|\tDriver\n"
             "10|\t\tDriver Name : \"Not Available\"\n"
             "18|\t\tProduct Name : \"NyAgent\"\n"
             "18|\t\tProduct Version : 4.0.4\n"},
    };
    for (const Case& c : cases) {
        std::string strTree;
        Render(device_tree::Build(c.source, EnglishText), 0, strTree);
        EXPECT_EQ(c.strExpected, strTree) << c.pszName;
    }
    // One of the two printer-data values alone is no identity.
    for (const Source& source : {DefaultPrinter("1.23", ""), DefaultPrinter("", "K-001")}) {
        const Item device = device_tree::Build(source, EnglishText).children.at(2);
        ASSERT_EQ(1u, device.children.size());
        EXPECT_EQ(strNotAvailable, device.children[0].strText);
    }
}

TEST(DeviceTree, WifiStatesShownOnlyFromAReadStatus) {
    const struct {
        bool bStatus;
        std::uint8_t nState;
        const char* pszText;
    } cases[] = {
        {true, 0, "USB/WIFI dongle is not connected"},
        {true, 1, "WIFI dongle ON - WIFI parameters not configured"},
        {true, 2, "WIFI dongle ON - IP parameters not configured"},
        {true, 4, "Information on the device is not available.  "},
        {false, 2, "Information on the device is not available.  "},
    };
    for (const auto& c : cases) {
        Source source = NetworkPrinter();
        source.bStatus = c.bStatus;
        source.status.Data()[CDeviceStatus::kOffWifiState] = c.nState;
        EXPECT_EQ(c.pszText, device_tree::Build(source, EnglishText).children.at(3).children.at(0).strText)
            << int(c.nState);
    }
}

TEST(DeviceExport, InformationAndAboutTextsAndTheirBytes) {
    std::tm time = {};
    time.tm_year = 124;
    time.tm_mon = 2;
    time.tm_mday = 4;
    time.tm_wday = 1;
    time.tm_hour = 14;
    time.tm_min = 5;
    time.tm_sec = 9;
    const std::string strTime = device_export::FormatTime(time);
    EXPECT_EQ("Monday, March 04, 2024 (02:05:09 PM)", strTime);

    const std::string strRule(78, '=');
    const Item root{"P", 0, {{"A", 10, {{"A1", 4, {}}}}, {"B", 2, {}}}};
    EXPECT_EQ("NyAgent : Device Information : T\r\n" + strRule + "\r\nP\r\n\tA\r\n\t\tA1\r\n\tB\r\n",
              device_export::InfoText("T", root));
    const std::string strAboutHead =
        "NyAgent : About Information : T\r\n" + strRule + "\r\nV 4.0\r\nL C\r\n" + strRule + "\r\n";
    EXPECT_EQ(strAboutHead, device_export::AboutText("T", "V 4.0", "L C", {}));
    EXPECT_EQ(strAboutHead + "P\r\n\tA\r\n\t\tA1\r\n\tB\r\nQ\r\n",
              device_export::AboutText("T", "V 4.0", "L C", {root, {"Q", 0, {}}}));

    EXPECT_EQ(std::string("A\0\r\0\n\0\xE9\0\x2D\x4E", 10), device_export::Utf16Le(u"A\r\n\u00E9\u4E2D"));
}

TEST(DeviceExport, LogFileGoesOnPastAnEntryThatCannotBeRead) {
    const auto entry = [](std::uint16_t wIndex, DEVICE_LOG& log) -> std::uint32_t {
        if (wIndex == 1)
            return 1167;
        StoreLE32(log.abData, wIndex == 0 ? 12 : 0xFFFFFFFF);
        StoreLE16(log.abData + 4, static_cast<std::uint16_t>(0xA0 + wIndex));
        StoreLE16(log.abData + 6, 0xBEEF);
        return 0;
    };
    const auto count = [](std::uint32_t dwError, std::uint16_t wCount) {
        return [=](std::uint16_t& wOut) {
            wOut = wCount;
            return dwError;
        };
    };
    const std::string strHead = "NyAgent : Device Logs : T\r\n" + std::string(78, '=') + "\r\n\r\n";
    const struct {
        device_export::LogReader reader;
        std::string strExpected;
        std::vector<std::string> traces;
    } cases[] = {
        {{count(0, 3), entry},
         strHead + "Event : 0x00a0, nbPages : 12, Flash : 0xbeef\r\n"
                   "Unable to retrieve logs #1. GetLastError() = 1167\r\n"
                   "Event : 0x00a2, nbPages : 4294967295, Flash : 0xbeef\r\n",
         {"CInfoDlg::OnButton2() : GetLogs(1) failed. GetLastError() = 1167\n"}},
        {{count(0, 0), entry}, strHead + "No Logs\r\n", {}},
        {{count(31, 5), entry},
         strHead + "Unable to retrieve the number of logs. GetLastError() = 31\r\n",
         {"CInfoDlg::OnButton2() : GetNumberOfLogs() failed. GetLastError() = 31\n"}},
    };
    for (const auto& c : cases) {
        CTraceCapture traces;
        EXPECT_EQ(c.strExpected, device_export::LogText("T", c.reader));
        EXPECT_EQ(c.traces, traces.Lines());
    }
}
