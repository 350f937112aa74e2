#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "app/registry.h"
#include "framework/unique_key.h"
#include "tests/wine/test_printer.h"

namespace {

const char kAgentKey[] = "Software\\Tessel\\Tessel Photo\\NyAgent";

// A registry value: its type and exact bytes; REG_NONE for no value. Made by
// the functions below (brace-initialised in a table, GCC 12 -O2 warns).
struct CValue {
    DWORD dwType;
    std::string strBytes;
};
CValue Raw(DWORD dwType, const std::string& strBytes) {
    return CValue{dwType, strBytes};
}
CValue Dword(DWORD dwValue) {
    return Raw(REG_DWORD, std::string(reinterpret_cast<const char*>(&dwValue), 4));
}

// Stores exactly the value's bytes: a non-zero byte follows them, so that the
// registry does not add a terminating zero that the value leaves out.
void Store(HKEY hRoot, const std::string& strKey, const char* pszName, const CValue& value) {
    if (value.dwType == REG_NONE)
        return;
    CUniqueKey hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(hRoot, strKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, hKey.Receive(), nullptr));
    const std::string strData = value.strBytes + 'X';
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(hKey.Get(), pszName, 0, value.dwType,
                                            reinterpret_cast<const BYTE*>(strData.data()),
                                            static_cast<DWORD>(value.strBytes.size())));
}

// Each test starts and ends without the agent key under either hive (every
// program that writes it takes the agent_settings lock).
class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() { ClearAgentKeys(); }
    ~RegistryTest() override {
        ClearAgentKeys();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tessel");
    }
    void ClearAgentKeys() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kAgentKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAgentKey);
    }
};

template <LONG (*pfnGet)(BOOL&, BOOL)> LONG ReadSwitch(DWORD dwDefault, DWORD& dwRead) {
    BOOL bFlag = -1;
    const LONG lResult = pfnGet(bFlag, dwDefault);
    dwRead = bFlag;
    return lResult;
}
LONG ReadX(DWORD dwDefault, DWORD& dwRead) {
    POINT pt = {};
    const LONG lResult = CRegistry::GetWindowPos(pt, {static_cast<LONG>(dwDefault), 7});
    dwRead = static_cast<DWORD>(pt.x);
    return lResult;
}

TEST_F(RegistryTest, EachSettingReadsItsValueOrGivesItsDefault) {
    // The value, a read with a default, and whether any value but 0 reads as TRUE.
    const struct {
        const char* pszValue;
        LONG (*pfnRead)(DWORD dwDefault, DWORD& dwRead);
        bool bSwitch;
    } settings[] = {
        {"OpenOnError", ReadSwitch<CRegistry::GetOpenOnError>, true},
        {"OpenWhenPrinting", ReadSwitch<CRegistry::GetOpenWhenPrinting>, true},
        {"UseNyStatusMonitor", ReadSwitch<CRegistry::GetUseNyStatusMonitor>, true},
        {"Reboot", [](DWORD d, DWORD& r) { return CRegistry::GetHowManyReboots(r, d); }, false},
        {"BkColor", [](DWORD d, DWORD& r) { return CRegistry::GetBkColor(r, &d); }, false},
        {"TextColor", [](DWORD d, DWORD& r) { return CRegistry::GetTextColor(r, &d); }, false},
        {"X", ReadX, false},
    };
    for (const auto& setting : settings) {
        SCOPED_TRACE(setting.pszValue);
        ClearAgentKeys();
        DWORD dwRead = 0xAAAA;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, setting.pfnRead(1, dwRead));
        EXPECT_EQ(1u, dwRead);

        Store(HKEY_CURRENT_USER, kAgentKey, "Y", Dword(1));
        for (const DWORD dwStored : {0u, 0x100u, 0xFFFFFFFBu}) {
            Store(HKEY_CURRENT_USER, kAgentKey, setting.pszValue, Dword(dwStored));
            EXPECT_EQ(ERROR_SUCCESS, setting.pfnRead(dwStored == 0, dwRead));
            EXPECT_EQ(setting.bSwitch && dwStored ? 1u : dwStored, dwRead);
        }
    }
}

TEST_F(RegistryTest, ColourComesFromTheUserElseFromTheMachineAndPositionNeedsBoth) {
    // The user's key exists; it holds the colour only when one is given.
    const struct {
        CValue user;
        DWORD dwExpected;
    } cases[] = {
        {Raw(REG_NONE, ""), 0x01102030},
        {Dword(0x00FFFFFF), 0x00FFFFFF},
        {Raw(REG_QWORD, "12345678"), 0x01102030},
    };
    for (const auto& test : cases) {
        ClearAgentKeys();
        Store(HKEY_CURRENT_USER, kAgentKey, "X", Dword(1));
        Store(HKEY_CURRENT_USER, kAgentKey, "TextColor", test.user);
        Store(HKEY_LOCAL_MACHINE, kAgentKey, "TextColor", Dword(0x01102030));
        DWORD dwColor = 0x00ABCDEF;
        EXPECT_EQ(ERROR_SUCCESS, CRegistry::GetTextColor(dwColor, &dwColor));
        EXPECT_EQ(test.dwExpected, dwColor);
    }
    // Without a default, a colour that cannot be read is the window's own colour.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAgentKey);
    DWORD dwColor = 0x01ABCDEF;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetBkColor(dwColor, nullptr));
    EXPECT_EQ(0u, dwColor);

    // The window position is used only when both coordinates read.
    Store(HKEY_CURRENT_USER, kAgentKey, "X", Dword(100));
    POINT ptPosition = {5, 5};
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetWindowPos(ptPosition, {1019, 763}));
    EXPECT_EQ(std::make_pair(1019L, 763L), std::make_pair(ptPosition.x, ptPosition.y));
}

LONG WriteX(DWORD dwX) {
    return CRegistry::SetWindowPos({static_cast<LONG>(dwX), 300});
}

// Each setter: the value it writes, what it is given and stores.
const struct {
    const char* pszValue;
    LONG (*pfnWrite)(DWORD dwGiven);
    DWORD dwGiven, dwStored;
} kWrites[] = {
    {"OpenOnError", [](DWORD d) { return CRegistry::SetOpenOnError(d); }, 7, 1},
    {"OpenWhenPrinting", [](DWORD d) { return CRegistry::SetOpenWhenPrinting(d); }, 0, 0},
    {"Reboot", CRegistry::SetHowManyReboots, 2, 2},
    {"BkColor", [](DWORD d) { return CRegistry::SetBkColor(&d); }, 0x01102030, 0x01102030},
    {"TextColor", [](DWORD d) { return CRegistry::SetTextColor(&d); }, 0x00FFFFFF, 0x00FFFFFF},
    {"X", WriteX, 0xFFFFFB50, 0xFFFFFB50},
};

// Each setter writes a DWORD under the user's key only, or returns the error
// of its failed write.
TEST_F(RegistryTest, EachSetterWritesADwordUnderTheUsersKeyOnlyOrReturnsItsError) {
    // A volatile key cannot hold a non-volatile one: no write reaches the agent key.
    CUniqueKey hProductKey;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tessel\\Tessel Photo", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, hProductKey.Receive(), nullptr));
    for (const auto& write : kWrites)
        EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, write.pfnWrite(write.dwGiven)) << write.pszValue;
    EXPECT_NE(ERROR_SUCCESS, CRegistry::SetDWORDKey("Software\\Tessel", std::string(16384, 'v'), 1));
    // Without a colour nothing is written.
    EXPECT_EQ(ERROR_INVALID_PARAMETER, CRegistry::SetBkColor(nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, CRegistry::SetTextColor(nullptr));

    hProductKey.Reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tessel");
    for (const auto& write : kWrites) {
        EXPECT_EQ(ERROR_SUCCESS, write.pfnWrite(write.dwGiven)) << write.pszValue;
        DWORD dwType = REG_NONE, dwValue = 0, dwSize = sizeof(dwValue);
        EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, kAgentKey, write.pszValue, RRF_RT_ANY,
                                              &dwType, &dwValue, &dwSize));
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dwType) << write.pszValue;
        EXPECT_EQ(write.dwStored, dwValue) << write.pszValue;
    }
    CUniqueKey hMachineKey;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAgentKey, 0, KEY_READ, hMachineKey.Receive()));
}

// Each case stores one value of the port's settings and reads both. The
// address is text up to its first zero (a value stored without one is read
// whole); the TCP port is read whatever its type when it fits four bytes. A
// failed read leaves the caller's text, and gives the default port.
TEST(PortSettings, AddressAndTcpPortAreReadWhateverTheirType) {
    // A port of a TCP/IP port monitor of its own.
    const std::string strMonitor = UniqueName("NyAgent Test Monitor ");
    const std::string strMonitorKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + strMonitor;
    const struct {
        const char* pszName;
        CValue value;           // REG_NONE: no port key
        const char* pszAddress; // "old": not read
        LONG lPortResult;
        DWORD dwTcpPort;
    } cases[] = {
        {"IPAddress", Raw(REG_BINARY, "10.0.0.8"), "10.0.0.8", ERROR_FILE_NOT_FOUND, 9100},
        {"IPAddress", Raw(REG_SZ, ""), "", ERROR_FILE_NOT_FOUND, 9100},
        {"IPAddress", Raw(REG_NONE, ""), "old", ERROR_FILE_NOT_FOUND, 9100},
        {"PortNumber", Raw(REG_SZ, std::string("515", 4)), "old", ERROR_SUCCESS, 0x353135}, // short text, raw
        {"PortNumber", Raw(REG_BINARY, "\x34\x12"), "old", ERROR_SUCCESS, 0x1234},
        {"PortNumber", Raw(REG_BINARY, ""), "old", ERROR_SUCCESS, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.pszName) + " of type " + std::to_string(test.value.dwType));
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, strMonitorKey.c_str());
        Store(HKEY_LOCAL_MACHINE, strMonitorKey + "\\Ports\\IP_10.0.0.7", test.pszName, test.value);
        std::string strAddress = "old";
        EXPECT_EQ(std::string(test.pszAddress) == "old" ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS,
                  CRegistry::GetIpAddresFromPortSettings(strMonitor, "IP_10.0.0.7", strAddress));
        EXPECT_EQ(test.pszAddress, strAddress);
        DWORD dwTcpPort = 1;
        EXPECT_EQ(test.lPortResult,
                  CRegistry::GetTcpPortFromPortSettings(strMonitor, "IP_10.0.0.7", dwTcpPort, 9100));
        EXPECT_EQ(test.dwTcpPort, dwTcpPort);
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, strMonitorKey.c_str());
}

} // namespace
