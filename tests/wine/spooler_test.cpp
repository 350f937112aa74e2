#include <gtest/gtest.h>

#include <cstring>

#include "devices/shared/def_device.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_printer.h"

namespace {

bool PointsInto(const void* p, const CPrinterInfo& info) {
    const BYTE* b = static_cast<const BYTE*>(p);
    const BYTE* base = reinterpret_cast<const BYTE*>(info.GetInfo());
    return b >= base && b < base + info.GetSize();
}

} // namespace

TEST(Spooler, PrinterInfoOfAnInstalledPrinter) {
    const CTestPrinter printer(UniqueName("Kestrel Spool "), "NYSPOOL1:", "Tessel Kestrel D");
    CDefDevice device(nullptr, printer.Name().c_str(), UniqueName("SP").c_str(), nullptr);
    CTraceCapture trace;

    CPrinterInfo info;
    ASSERT_EQ(0u, device.GetPrinterInfo(info));
    const PRINTER_INFO_2A* pInfo = info.GetInfo();
    ASSERT_NE(nullptr, pInfo);
    EXPECT_STREQ(printer.Name().c_str(), pInfo->pPrinterName);
    EXPECT_STREQ("NYSPOOL1:", pInfo->pPortName);
    EXPECT_STREQ("Tessel Kestrel D", pInfo->pDriverName);
    // The copy stands on its own: its texts lie in its own buffer.
    EXPECT_TRUE(PointsInto(pInfo->pPrinterName, info));
    EXPECT_TRUE(PointsInto(pInfo->pPortName, info));
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(Spooler, PrinterInfoOfAMissingPrinter) {
    CDefDevice device(nullptr, "No such printer at all", UniqueName("SP").c_str(), nullptr);
    CTraceCapture trace;
    CPrinterInfo info;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME), device.GetPrinterInfo(info));
    EXPECT_EQ(std::vector<std::string>{"CDevice::CDevice() : GetPrinterInfo() failed. GetLastError() = 1801\n"},
              trace.Lines());
    EXPECT_EQ(nullptr, info.GetInfo());
}

TEST(Spooler, PrinterDataFirmwareAndMissingValue) {
    CTestPrinter printer(UniqueName("Brindle Data "), "NYSPOOL2:", "Tessel Brindle J");
    printer.SetPrinterData("FirmwareVersion", "F1.07");
    HANDLE hPrinter = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(printer.Name().c_str()), &hPrinter, nullptr));
    CTraceCapture trace;

    std::string strValue = "unchanged";
    EXPECT_EQ(0u, CDevice::GetPrinterData(hPrinter, "FirmwareVersion", strValue));
    EXPECT_EQ("F1.07", strValue);

    strValue = "unchanged";
    const DWORD dwError = CDevice::GetPrinterData(hPrinter, "SerialNumber", strValue);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), dwError);
    EXPECT_EQ("unchanged", strValue);
    EXPECT_EQ(std::vector<std::string>{"CDevice::GetPrinterData() : GetPrinterData() failed. GetLastError() = 2\n"},
              trace.Lines());
    ClosePrinter(hPrinter);
}

TEST(PrinterInfo, CopyRebasesEveryPointerAndKeepsNulls) {
    // A block laid out as the spooler lays it out: the structure, then its texts.
    CPrinterInfo source(sizeof(PRINTER_INFO_2A) + 64);
    BYTE* pBase = source.GetBuffer();
    std::memset(pBase, 0, source.GetSize());
    PRINTER_INFO_2A* pInfo = reinterpret_cast<PRINTER_INFO_2A*>(pBase);
    char* pText = reinterpret_cast<char*>(pBase + sizeof(PRINTER_INFO_2A));
    std::strcpy(pText, "Kestrel");
    std::strcpy(pText + 16, "USB001");
    pInfo->pPrinterName = pText;
    pInfo->pPortName = pText + 16;
    pInfo->pDatatype = pText + 16;
    pInfo->Attributes = 0x40;

    CPrinterInfo copy;
    copy = source;
    const PRINTER_INFO_2A* pCopy = copy.GetInfo();
    ASSERT_NE(nullptr, pCopy);
    ASSERT_NE(static_cast<const void*>(pCopy), static_cast<const void*>(pInfo));
    EXPECT_TRUE(PointsInto(pCopy->pPrinterName, copy));
    EXPECT_TRUE(PointsInto(pCopy->pPortName, copy));
    EXPECT_TRUE(PointsInto(pCopy->pDatatype, copy));
    EXPECT_STREQ("Kestrel", pCopy->pPrinterName);
    EXPECT_STREQ("USB001", pCopy->pPortName);
    EXPECT_EQ(pCopy->pPortName, pCopy->pDatatype);
    EXPECT_EQ(nullptr, pCopy->pServerName);
    EXPECT_EQ(nullptr, pCopy->pDevMode);
    EXPECT_EQ(nullptr, pCopy->pSecurityDescriptor);
    EXPECT_EQ(0x40u, pCopy->Attributes);

    // The copy outlives its source.
    source = CPrinterInfo();
    EXPECT_STREQ("Kestrel", copy.GetInfo()->pPrinterName);
}
