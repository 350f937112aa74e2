#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "app/registry.h"
#include "framework/unique_key.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_printer.h"

namespace {

using Lines = std::vector<std::string>;

const char kAgentKey[] = "Software\\Tessel\\Tessel Photo\\NyAgent";
const char kOpenFailed[] = "CRegistry::GetDWORDKey() : RegOpenKeyEx() returns 2\n";
const char kValueMissing[] = "CRegistry::GetDWORDKey() : RegQueryValueEx() returns 2\n";
const char kValueTooLong[] = "CRegistry::GetDWORDKey() : RegQueryValueEx() returns 234\n";

// A registry value: its type and exact bytes. REG_NONE stands for no value.
// Made only by the functions below, never brace-initialised inside a table
// (GCC 12 at -O2 then takes the string for uninitialised).
struct CValue {
    DWORD dwType;
    std::string strBytes;
};
CValue Raw(DWORD dwType, const std::string& strBytes) {
    return CValue{dwType, strBytes};
}
CValue None() {
    return Raw(REG_NONE, "");
}
CValue Dword(DWORD dwValue) {
    return Raw(REG_DWORD, std::string(reinterpret_cast<const char*>(&dwValue), 4));
}
CValue Qword(ULONGLONG qwValue) {
    return Raw(REG_QWORD, std::string(reinterpret_cast<const char*>(&qwValue), 8));
}
CValue Text(const char* pszText) {
    return Raw(REG_SZ, std::string(pszText, std::strlen(pszText) + 1));
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

// A value the agent wrote, which must be a REG_DWORD under the current user's key.
DWORD Stored(const char* pszName) {
    DWORD dwType = REG_NONE, dwValue = 0, dwSize = sizeof(dwValue);
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueA(HKEY_CURRENT_USER, kAgentKey, pszName, RRF_RT_ANY, &dwType, &dwValue, &dwSize));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dwType) << pszName;
    return dwValue;
}

// The inner operation's line, if any, then the setting's line with the status.
Lines Trace(const char* pszInner, const std::string& strOuter, LONG lResult) {
    Lines lines;
    if (pszInner)
        lines.push_back(pszInner);
    if (lResult != ERROR_SUCCESS)
        lines.push_back("CRegistry::" + strOuter + " failed. GetLastError() = " + std::to_string(lResult) +
                        "\n");
    return lines;
}

// Each test starts and ends without the agent key under either hive (this
// program is the only one of the suite that uses it).
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
        m_Trace.Clear();
    }

    CTraceCapture m_Trace;
};

// Each setting of the agent key: its value, the name its failed read is
// traced under, a read of it with a default, which leaves the result in
// dwRead, and whether it is a switch (any value but 0 reads as TRUE).
struct Setting {
    const char* pszValue;
    const char* pszOperation;
    LONG (*pfnRead)(DWORD dwDefault, DWORD& dwRead);
    bool bSwitch;
};
template <LONG (*pfnGet)(BOOL&, BOOL)> LONG ReadSwitch(DWORD dwDefault, DWORD& dwRead) {
    BOOL bFlag = -1;
    const LONG lResult = pfnGet(bFlag, dwDefault);
    dwRead = bFlag;
    return lResult;
}
template <LONG (*pfnGet)(DWORD&, const DWORD*)> LONG ReadColour(DWORD dwDefault, DWORD& dwRead) {
    return pfnGet(dwRead, &dwDefault);
}
const Setting kSettings[] = {
    {"OpenOnError", "GetOpenOnError()", ReadSwitch<CRegistry::GetOpenOnError>, true},
    {"OpenWhenPrinting", "GetOpenWhenPrinting()", ReadSwitch<CRegistry::GetOpenWhenPrinting>, true},
    {"UseNyStatusMonitor", "GetUseNyStatusMonitor()", ReadSwitch<CRegistry::GetUseNyStatusMonitor>, true},
    {"Reboot", "GetHowManyReboots()", [](DWORD d, DWORD& r) { return CRegistry::GetHowManyReboots(r, d); },
     false},
    {"BkColor", "GetBkColor()", ReadColour<CRegistry::GetBkColor>, false},
    {"TextColor", "GetTextColor()", ReadColour<CRegistry::GetTextColor>, false},
    {"X", "GetWindowPos(X)",
     [](DWORD d, DWORD& r) {
         POINT pt = {};
         const LONG lResult = CRegistry::GetWindowPos(pt, {static_cast<LONG>(d), 7});
         r = static_cast<DWORD>(pt.x);
         return lResult;
     },
     false},
};

TEST_F(RegistryTest, EachSettingReadsItsValueOrGivesItsDefault) {
    for (const Setting& setting : kSettings) {
        SCOPED_TRACE(setting.pszValue);
        ClearAgentKeys();
        DWORD dwRead = 0xAAAA;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, setting.pfnRead(1, dwRead));
        EXPECT_EQ(1u, dwRead);
        Lines expected = Trace(kOpenFailed, setting.pszOperation, ERROR_FILE_NOT_FOUND);
        if (std::strstr(setting.pszOperation, "Color")) // looked for under the machine's key as well
            expected.insert(expected.begin(), kOpenFailed);
        EXPECT_EQ(expected, m_Trace.Lines());

        // Switches read any non-zero value as TRUE; the others take it as it is.
        Store(HKEY_CURRENT_USER, kAgentKey, "Y", Dword(1));
        for (const DWORD dwStored : {0u, 0x100u, 0xFFFFFFFBu}) {
            Store(HKEY_CURRENT_USER, kAgentKey, setting.pszValue, Dword(dwStored));
            EXPECT_EQ(ERROR_SUCCESS, setting.pfnRead(dwStored == 0, dwRead));
            EXPECT_EQ(setting.bSwitch && dwStored ? 1u : dwStored, dwRead);
        }
        EXPECT_EQ(expected, m_Trace.Lines()) << "no further trace";
    }
}

TEST_F(RegistryTest, ColourComesFromTheUserElseFromTheMachine) {
    // The user's key always exists; it holds the colour only when one is given.
    const struct {
        const char* pszCase;
        CValue user, machine;
        LONG lResult;
        DWORD dwExpected;
        Lines trace;
    } cases[] = {
        {"machine only", None(), Dword(0x01102030), ERROR_SUCCESS, 0x01102030, {kValueMissing}},
        {"both: the user's wins", Dword(0x00FFFFFF), Dword(0x01102030), ERROR_SUCCESS, 0x00FFFFFF, {}},
        {"user's malformed", Qword(1), Dword(0x01102030), ERROR_SUCCESS, 0x01102030, {kValueTooLong}},
        {"machine's malformed",
         None(),
         Text("123456"),
         ERROR_MORE_DATA,
         0x00ABCDEF,
         {kValueMissing, kValueTooLong, "CRegistry::GetTextColor() failed. GetLastError() = 234\n"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        ClearAgentKeys();
        Store(HKEY_CURRENT_USER, kAgentKey, "X", Dword(1));
        Store(HKEY_CURRENT_USER, kAgentKey, "TextColor", test.user);
        Store(HKEY_LOCAL_MACHINE, kAgentKey, "TextColor", test.machine);
        DWORD dwColor = 0x00ABCDEF;
        EXPECT_EQ(test.lResult, CRegistry::GetTextColor(dwColor, &dwColor)); // the default may be the colour
        EXPECT_EQ(test.dwExpected, dwColor);
        EXPECT_EQ(test.trace, m_Trace.Lines());
    }
    // Without a default, a colour that cannot be read is the window's own colour.
    DWORD dwColor = 0x01ABCDEF;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetBkColor(dwColor, nullptr));
    EXPECT_EQ(0u, dwColor);
}

TEST_F(RegistryTest, WindowPositionIsUsedOnlyWhenBothCoordinatesRead) {
    Store(HKEY_CURRENT_USER, kAgentKey, "X", Dword(100));
    POINT ptPosition = {5, 5};
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetWindowPos(ptPosition, {1019, 763}));
    EXPECT_EQ(1019, ptPosition.x);
    EXPECT_EQ(763, ptPosition.y);
    EXPECT_EQ(Trace(kValueMissing, "GetWindowPos(Y)", ERROR_FILE_NOT_FOUND), m_Trace.Lines());
}

// Each setter: the value it writes, what it is given and stores, and the
// name its failure is traced under.
struct Write {
    const char* pszValue;
    LONG (*pfnWrite)(DWORD dwGiven);
    DWORD dwGiven, dwStored;
    const char* pszOperation;
};
const Write kWrites[] = {
    {"OpenOnError", [](DWORD d) { return CRegistry::SetOpenOnError(d); }, 7, 1, "SetOpenOnError()"},
    {"OpenWhenPrinting", [](DWORD d) { return CRegistry::SetOpenWhenPrinting(d); }, 0, 0,
     "SetOpenWhenPrinting()"},
    {"Reboot", CRegistry::SetHowManyReboots, 2, 2, "SetHowManyReboots()"},
    {"BkColor", [](DWORD d) { return CRegistry::SetBkColor(&d); }, 0x01102030, 0x01102030, "SetBkColor()"},
    {"TextColor", [](DWORD d) { return CRegistry::SetTextColor(&d); }, 0x00FFFFFF, 0x00FFFFFF,
     "SetTextColor()"},
    // Y is not tried once X has failed.
    {"X",
     [](DWORD d) {
         return CRegistry::SetWindowPos({static_cast<LONG>(d), 300});
     },
     static_cast<DWORD>(-1200), static_cast<DWORD>(-1200), "SetWindowPos() : SetDWORDKey(X)"},
};

TEST_F(RegistryTest, EachSetterWritesADwordUnderTheUsersKey) {
    for (const Write& write : kWrites)
        EXPECT_EQ(ERROR_SUCCESS, write.pfnWrite(write.dwGiven)) << write.pszValue;
    for (const Write& write : kWrites)
        EXPECT_EQ(write.dwStored, Stored(write.pszValue)) << write.pszValue;
    EXPECT_EQ(300u, Stored("Y"));
    CUniqueKey hMachineKey; // writes never reach the machine's key
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAgentKey, 0, KEY_READ, hMachineKey.Receive()));
    EXPECT_EQ(Lines{}, m_Trace.Lines());
}

TEST_F(RegistryTest, WriteFailureIsTracedByTheWriteAndByTheSetting) {
    // A volatile key cannot hold a non-volatile one: no write reaches the agent key.
    CUniqueKey hProductKey;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tessel\\Tessel Photo", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, hProductKey.Receive(), nullptr));
    for (const Write& write : kWrites) {
        SCOPED_TRACE(write.pszOperation);
        m_Trace.Clear();
        SetLastError(4321);
        EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, write.pfnWrite(write.dwGiven));
        // The text colour's line carries the thread's last error, which the registry leaves alone.
        const LONG lTraced = std::strcmp(write.pszValue, "TextColor") ? ERROR_CHILD_MUST_BE_VOLATILE : 4321;
        EXPECT_EQ(
            Trace("CRegistry::SetDWORDKey() : RegCreateKeyEx() returns 1021\n", write.pszOperation, lTraced),
            m_Trace.Lines());
    }
    m_Trace.Clear();
    const LONG lResult = CRegistry::SetDWORDKey("Software\\Tessel", std::string(16384, 'v'), 1);
    EXPECT_NE(ERROR_SUCCESS, lResult);
    EXPECT_EQ(Lines{"CRegistry::SetDWORDKey() : RegSetValueEx() returns " + std::to_string(lResult) + "\n"},
              m_Trace.Lines());
}

TEST_F(RegistryTest, MissingColourIsNotWritten) {
    EXPECT_EQ(ERROR_INVALID_PARAMETER, CRegistry::SetBkColor(nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, CRegistry::SetTextColor(nullptr));
    const Lines expected = {"CRegistry::SetBkColor() failed. GetLastError() = 87\n",
                            "CRegistry::SetTextColor() failed. GetLastError() = 87\n"};
    EXPECT_EQ(expected, m_Trace.Lines());
    CUniqueKey hKey;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, kAgentKey, 0, KEY_READ, hKey.Receive()));
}

TEST(PrinterPort, IsReadFromThePrinterQueuesKey) {
    CTraceCapture trace;
    const CTestPrinter printer(UniqueName("NyAgent Registry Printer "), "USB003", "Other Vendor Driver");
    const std::string strKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + printer.Name();
    std::string strPort;
    EXPECT_EQ(ERROR_SUCCESS, CRegistry::GetPort(printer.Name(), strPort));
    EXPECT_EQ("USB003", strPort);
    // A value stored without its terminating zero is read whole.
    Store(HKEY_LOCAL_MACHINE, strKey, "Port", Raw(REG_SZ, "USB007"));
    EXPECT_EQ(ERROR_SUCCESS, CRegistry::GetPort(printer.Name(), strPort));
    EXPECT_EQ("USB007", strPort);
    EXPECT_EQ(Lines{}, trace.Lines());

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetPort(UniqueName("No such printer "), strPort));
    EXPECT_EQ("USB007", strPort);
    EXPECT_EQ(Trace("CRegistry::GetStringKey() : RegOpenKeyEx() returns 2\n", "GetPort() : GetStringKey()",
                    ERROR_FILE_NOT_FOUND),
              trace.Lines());
}

// A port of a TCP/IP port monitor of its own, removed after each test.
class PortSettingsTest : public ::testing::Test {
protected:
    ~PortSettingsTest() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_strMonitorKey.c_str()); }
    // Leaves the port's key with this one value, or without a key when pszName is null.
    void StorePortValue(const char* pszName, const CValue& value) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_strMonitorKey.c_str());
        if (pszName)
            Store(HKEY_LOCAL_MACHINE, m_strMonitorKey + "\\Ports\\" + m_strPort, pszName, value);
        m_Trace.Clear();
    }

    const std::string m_strMonitor = UniqueName("NyAgent Test Monitor ");
    const std::string m_strMonitorKey =
        "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\" + m_strMonitor;
    const std::string m_strPort = "IP_10.0.0.7";
    CTraceCapture m_Trace;
};

TEST_F(PortSettingsTest, IpAddressIsReadAsTextWhateverItsType) {
    const char kQueryFailed[] = "CRegistry::GetStringKey() : RegQueryValueEx() returns 2\n";
    const char kOpenKeyFailed[] = "CRegistry::GetStringKey() : RegOpenKeyEx() returns 2\n";
    const struct {
        const char* pszName;
        CValue value;
        const char* pszInner;
        LONG lResult;
        const char* pszExpected;
    } cases[] = {
        {"IPAddress", Text("10.0.0.7"), nullptr, ERROR_SUCCESS, "10.0.0.7"},
        {"IPAddress", Raw(REG_BINARY, "10.0.0.8"), nullptr, ERROR_SUCCESS, "10.0.0.8"},
        {"IPAddress", Raw(REG_SZ, ""), nullptr, ERROR_SUCCESS, ""},
        {"HostName", Text("printer"), kQueryFailed, ERROR_FILE_NOT_FOUND, "unchanged"},
        {nullptr, None(), kOpenKeyFailed, ERROR_FILE_NOT_FOUND, "unchanged"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszExpected);
        StorePortValue(test.pszName, test.value);
        std::string strAddress = "unchanged";
        EXPECT_EQ(test.lResult, CRegistry::GetIpAddresFromPortSettings(m_strMonitor, m_strPort, strAddress));
        EXPECT_EQ(test.pszExpected, strAddress);
        EXPECT_EQ(Trace(test.pszInner, "GetIpAddresFromPortSettings() : GetStringKey()", test.lResult),
                  m_Trace.Lines());
    }
}

TEST_F(PortSettingsTest, TcpPortFallsBackToTheDefault) {
    const struct {
        const char* pszName;
        CValue value;
        const char* pszInner;
        LONG lResult;
        DWORD dwExpected;
    } cases[] = {
        {"PortNumber", Dword(515), nullptr, ERROR_SUCCESS, 515},
        {"PortNumber", Text("515"), nullptr, ERROR_SUCCESS, 0x353135}, // short text, raw
        {"PortNumber", Raw(REG_BINARY, "\x34\x12"), nullptr, ERROR_SUCCESS, 0x1234},
        {"PortNumber", Raw(REG_BINARY, ""), nullptr, ERROR_SUCCESS, 0},
        {"PortNumber", Text("9101"), kValueTooLong, ERROR_MORE_DATA, 9100},
        {"PortNumber", Qword(515), kValueTooLong, ERROR_MORE_DATA, 9100},
        {"IPAddress", Text("10.0.0.7"), kValueMissing, ERROR_FILE_NOT_FOUND, 9100},
        {nullptr, None(), kOpenFailed, ERROR_FILE_NOT_FOUND, 9100},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.dwExpected);
        StorePortValue(test.pszName, test.value);
        DWORD dwTcpPort = 1;
        EXPECT_EQ(test.lResult,
                  CRegistry::GetTcpPortFromPortSettings(m_strMonitor, m_strPort, dwTcpPort, 9100));
        EXPECT_EQ(test.dwExpected, dwTcpPort);
        EXPECT_EQ(Trace(test.pszInner, "GetTcpPortFromPortSettings()", test.lResult), m_Trace.Lines());
    }
}

} // namespace
