#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>

#include "devices/shared/def_device.h"
#include "tests/wine/test_printer.h"

namespace {

bool PointsInto(const void* p, const CPrinterInfo& info) {
    const BYTE* b = static_cast<const BYTE*>(p);
    const BYTE* base = reinterpret_cast<const BYTE*>(info.GetInfo());
    return b >= base && b < base + info.GetSize();
}

} // namespace

TEST(Spooler, PrinterInfoOfAnInstalledOrAMissingPrinterAndMissingPrinterData) {
    const CTestPrinter printer(UniqueName("Kestrel Spool "), "NYSPOOL1:", "Tessel Kestrel D");
    CDefDevice device(nullptr, printer.Name().c_str(), UniqueName("SP").c_str(), nullptr);
    CPrinterInfo info;
    ASSERT_EQ(0u, device.GetPrinterInfo(info));
    ASSERT_NE(nullptr, info.GetInfo());
    EXPECT_STREQ(printer.Name().c_str(), info.GetInfo()->pPrinterName);
    EXPECT_STREQ("NYSPOOL1:", info.GetInfo()->pPortName);
    EXPECT_STREQ("Tessel Kestrel D", info.GetInfo()->pDriverName);
    EXPECT_TRUE(PointsInto(info.GetInfo()->pPortName, info)); // the block stands on its own

    CDefDevice missing(nullptr, "No such printer at all", UniqueName("SP").c_str(), nullptr);
    CPrinterInfo none;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME), missing.GetPrinterInfo(none));
    EXPECT_EQ(nullptr, none.GetInfo());

    // A value the printer's data lacks leaves the caller's value.
    HANDLE hPrinter = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(printer.Name().c_str()), &hPrinter, nullptr));
    std::string strValue = "unchanged";
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
              CDevice::GetPrinterData(hPrinter, "SerialNumber", strValue));
    EXPECT_EQ("unchanged", strValue);
    ClosePrinter(hPrinter);
}

namespace {

// Calls f(pointer, index) for each of the 13 pointers of the block.
template <typename Info, typename F> void ForEachPointer(Info& info, F f) {
    int nIndex = 0;
    std::apply([&](auto&... p) { (f(p, nIndex++), ...); },
               std::tie(info.pServerName, info.pPrinterName, info.pShareName, info.pPortName,
                        info.pDriverName, info.pComment, info.pLocation, info.pDevMode, info.pSepFile,
                        info.pPrintProcessor, info.pDatatype, info.pParameters, info.pSecurityDescriptor));
}

} // namespace

TEST(PrinterInfo, CopyRebasesEveryPointerAndOutlivesItsSource) {
    // A block laid out as the spooler lays it out: the structure, then its
    // data, here a distinct text for each pointer.
    std::unique_ptr<CPrinterInfo> pSource = std::make_unique<CPrinterInfo>(sizeof(PRINTER_INFO_2A) + 13 * 16);
    BYTE* pBase = pSource->GetBuffer();
    std::memset(pBase, 0, pSource->GetSize());
    PRINTER_INFO_2A* pInfo = reinterpret_cast<PRINTER_INFO_2A*>(pBase);
    ForEachPointer(*pInfo, [&](auto& p, int nIndex) {
        char* pText = reinterpret_cast<char*>(pBase + sizeof(PRINTER_INFO_2A) + 16 * nIndex);
        std::snprintf(pText, 16, "text %d", nIndex);
        p = reinterpret_cast<std::remove_reference_t<decltype(p)>>(pText);
    });
    pInfo->Attributes = 0x40;

    CPrinterInfo copy;
    copy = *pSource;
    pSource.reset();
    const PRINTER_INFO_2A* pCopy = copy.GetInfo();
    ASSERT_NE(nullptr, pCopy);
    EXPECT_EQ(0x40u, pCopy->Attributes);
    // Each pointer lies in the copy's own buffer (checked before it is read,
    // since a pointer left in the freed source must not be followed).
    ForEachPointer(*pCopy, [&](auto* p, int nIndex) {
        if (!PointsInto(p, copy)) {
            ADD_FAILURE() << "pointer " << nIndex << " is not rebased";
            return;
        }
        EXPECT_STREQ(("text " + std::to_string(nIndex)).c_str(), reinterpret_cast<const char*>(p));
    });
}
