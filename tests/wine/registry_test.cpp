#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "app/registry.h"
#include "framework/unique_key.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/saved_registry_tree.h"
#include "tests/wine/test_printer.h"

namespace {

using Lines = std::vector<std::string>;

const char kAgentKey[] = "Software\\Tessel\\Tessel Photo\\NyAgent";
const char kOpenFailed[] = "CRegistry::GetDWORDKey() : RegOpenKeyEx() returns 2\n";
const char kValueMissing[] = "CRegistry::GetDWORDKey() : RegQueryValueEx() returns 2\n";
const char kValueTooLong[] = "CRegistry::GetDWORDKey() : RegQueryValueEx() returns 234\n";

// A registry value: its type and exact bytes. REG_NONE stands for no value.
struct CValue {
    DWORD dwType;
    std::string strBytes;
};
const CValue kNone = {REG_NONE, ""};
CValue Dword(DWORD dwValue) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&dwValue), 4)};
}
CValue Qword(ULONGLONG qwValue) {
    return {REG_QWORD, std::string(reinterpret_cast<const char*>(&qwValue), 8)};
}
CValue Text(const char* pszText) {
    return {REG_SZ, std::string(pszText, std::strlen(pszText) + 1)};
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

// A value the agent wrote, which must be a REG_DWORD of 4 bytes under the current user's key.
DWORD Stored(const char* pszName) {
    DWORD dwType = REG_NONE, dwValue = 0, dwSize = sizeof(dwValue);
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueA(HKEY_CURRENT_USER, kAgentKey, pszName, RRF_RT_ANY, &dwType, &dwValue, &dwSize));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), dwType) << pszName;
    EXPECT_EQ(4u, dwSize) << pszName;
    return dwValue;
}

// The inner operation's line, if any, then the outer operation's line with the status.
Lines Trace(const char* pszInner, const std::string& strOuter, LONG lResult) {
    Lines lines;
    if (pszInner)
        lines.push_back(pszInner);
    if (lResult != ERROR_SUCCESS)
        lines.push_back("CRegistry::" + strOuter + " failed. GetLastError() = " + std::to_string(lResult) +
                        "\n");
    return lines;
}

// The agent key under both hives is set aside while each test runs.
class RegistryTest : public ::testing::Test {
protected:
    void ClearAgentKeys() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kAgentKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAgentKey);
        m_Trace.Clear();
    }

    CSavedRegistryTree m_UserTree{HKEY_CURRENT_USER, "Software\\Tessel"};
    CSavedRegistryTree m_MachineTree{HKEY_LOCAL_MACHINE, "Software\\Tessel"};
    CTraceCapture m_Trace;
};

TEST_F(RegistryTest, FirstRunWithoutAgentKeyGivesEveryDefault) {
    BOOL bOpenOnError = FALSE, bOpenWhenPrinting = FALSE, bUseNyStatusMonitor = TRUE;
    DWORD dwReboots = 3, dwBkColor = 0x01123456, dwTextColor = 0x01123456;
    const DWORD dwDefaultBk = 0x00FFFFFF, dwDefaultText = 0x00121212;
    POINT ptPosition = {1, 2};
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetOpenOnError(bOpenOnError, TRUE));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetOpenWhenPrinting(bOpenWhenPrinting, TRUE));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetUseNyStatusMonitor(bUseNyStatusMonitor, FALSE));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetHowManyReboots(dwReboots, 0));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetBkColor(dwBkColor, &dwDefaultBk));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetTextColor(dwTextColor, &dwDefaultText));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetWindowPos(ptPosition, {1019, 763}));

    EXPECT_EQ(TRUE, bOpenOnError);
    EXPECT_EQ(TRUE, bOpenWhenPrinting);
    EXPECT_EQ(FALSE, bUseNyStatusMonitor);
    EXPECT_EQ(0u, dwReboots);
    EXPECT_EQ(dwDefaultBk, dwBkColor);
    EXPECT_EQ(dwDefaultText, dwTextColor);
    EXPECT_EQ(1019, ptPosition.x);
    EXPECT_EQ(763, ptPosition.y);
    Lines expected;
    for (const char* pszOperation :
         {"GetOpenOnError()", "GetOpenWhenPrinting()", "GetUseNyStatusMonitor()", "GetHowManyReboots()",
          "GetBkColor()", "GetTextColor()", "GetWindowPos(X)"}) {
        // A colour is looked for under the machine's key as well.
        if (std::strstr(pszOperation, "Color"))
            expected.push_back(kOpenFailed);
        for (const std::string& strLine : Trace(kOpenFailed, pszOperation, ERROR_FILE_NOT_FOUND))
            expected.push_back(strLine);
    }
    EXPECT_EQ(expected, m_Trace.Lines());
}

TEST_F(RegistryTest, SwitchReadsAnyNonZeroValueAsTrue) {
    const struct {
        const char* pszName;
        LONG (*pfnGet)(BOOL&, BOOL);
    } switches[] = {{"OpenOnError", CRegistry::GetOpenOnError},
                    {"OpenWhenPrinting", CRegistry::GetOpenWhenPrinting},
                    {"UseNyStatusMonitor", CRegistry::GetUseNyStatusMonitor}};
    for (const auto& setting : switches) {
        for (const DWORD dwStored : {0u, 1u, 7u, 0x100u, 0x80000000u}) {
            SCOPED_TRACE(std::string(setting.pszName) + " = " + std::to_string(dwStored));
            Store(HKEY_CURRENT_USER, kAgentKey, setting.pszName, Dword(dwStored));
            BOOL bFlag = -1;
            EXPECT_EQ(ERROR_SUCCESS, setting.pfnGet(bFlag, dwStored == 0));
            EXPECT_EQ(dwStored != 0 ? TRUE : FALSE, bFlag);
        }
    }
    EXPECT_EQ(Lines{}, m_Trace.Lines());
}

TEST_F(RegistryTest, OpenOnErrorStoredAsSevenIsWrittenBackAsOne) {
    Store(HKEY_CURRENT_USER, kAgentKey, "OpenOnError", Dword(7));
    BOOL bOpenOnError = FALSE;
    ASSERT_EQ(ERROR_SUCCESS, CRegistry::GetOpenOnError(bOpenOnError, FALSE));
    EXPECT_EQ(ERROR_SUCCESS, CRegistry::SetOpenOnError(bOpenOnError));
    EXPECT_EQ(ERROR_SUCCESS, CRegistry::SetOpenWhenPrinting(7));
    EXPECT_EQ(1u, Stored("OpenOnError"));
    EXPECT_EQ(1u, Stored("OpenWhenPrinting"));
}

TEST_F(RegistryTest, NumberIsReadWhateverItsTypeWhenItFitsFourBytes) {
    const struct {
        const char* pszCase;
        CValue value;
        LONG lResult;
        DWORD dwExpected;
    } cases[] = {
        {"dword", Dword(0xFFFFFFFF), ERROR_SUCCESS, 0xFFFFFFFF},
        {"short string, raw", Text("1"), ERROR_SUCCESS, 0x31},
        {"two bytes fill the low half", {REG_BINARY, "\x34\x12"}, ERROR_SUCCESS, 0x1234},
        {"empty value", {REG_BINARY, ""}, ERROR_SUCCESS, 0},
        {"longer string", Text("12345"), ERROR_MORE_DATA, 99},
        {"qword", Qword(2), ERROR_MORE_DATA, 99},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        m_Trace.Clear();
        Store(HKEY_CURRENT_USER, kAgentKey, "Reboot", test.value);
        DWORD dwReboots = 0xAAAAAAAA;
        EXPECT_EQ(test.lResult, CRegistry::GetHowManyReboots(dwReboots, 99));
        EXPECT_EQ(test.dwExpected, dwReboots);
        const char* pszInner = test.lResult == ERROR_SUCCESS ? nullptr : kValueTooLong;
        EXPECT_EQ(Trace(pszInner, "GetHowManyReboots()", test.lResult), m_Trace.Lines());
    }
}

TEST_F(RegistryTest, ColourComesFromTheUserElseFromTheMachine) {
    const struct {
        const char* pszName;
        LONG (*pfnGet)(DWORD&, const DWORD*);
    } colours[] = {{"BkColor", CRegistry::GetBkColor}, {"TextColor", CRegistry::GetTextColor}};
    // The user's key always exists; it holds the colour only when one is given.
    const struct {
        const char* pszCase;
        CValue user, machine;
        LONG lResult;
        DWORD dwExpected;
        Lines trace;
    } cases[] = {
        {"machine only", kNone, Dword(0x01102030), ERROR_SUCCESS, 0x01102030, {kValueMissing}},
        {"both: the user's wins", Dword(0x00FFFFFF), Dword(0x01102030), ERROR_SUCCESS, 0x00FFFFFF, {}},
        {"user's malformed", Qword(1), Dword(0x01102030), ERROR_SUCCESS, 0x01102030, {kValueTooLong}},
        {"neither", kNone, kNone, ERROR_FILE_NOT_FOUND, 0x00ABCDEF, {kValueMissing, kOpenFailed}},
        {"machine's malformed",
         kNone,
         Text("123456"),
         ERROR_MORE_DATA,
         0x00ABCDEF,
         {kValueMissing, kValueTooLong}},
    };
    const DWORD dwDefault = 0x00ABCDEF;
    for (const auto& colour : colours) {
        for (const auto& test : cases) {
            SCOPED_TRACE(std::string(colour.pszName) + ": " + test.pszCase);
            ClearAgentKeys();
            Store(HKEY_CURRENT_USER, kAgentKey, "X", Dword(1));
            Store(HKEY_CURRENT_USER, kAgentKey, colour.pszName, test.user);
            Store(HKEY_LOCAL_MACHINE, kAgentKey, colour.pszName, test.machine);
            DWORD dwColor = 0x01000001;
            EXPECT_EQ(test.lResult, colour.pfnGet(dwColor, &dwDefault));
            EXPECT_EQ(test.dwExpected, dwColor);
            Lines expected = test.trace;
            if (test.lResult != ERROR_SUCCESS)
                expected.push_back(
                    Trace(nullptr, "Get" + std::string(colour.pszName) + "()", test.lResult)[0]);
            EXPECT_EQ(expected, m_Trace.Lines());
        }
    }
}

TEST_F(RegistryTest, ColourDefaultMayBeTheColourItselfOrMissing) {
    DWORD dwColor = 0x01ABCDEF;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetTextColor(dwColor, &dwColor));
    EXPECT_EQ(0x01ABCDEFu, dwColor);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetBkColor(dwColor, nullptr));
    EXPECT_EQ(0u, dwColor);
}

TEST_F(RegistryTest, WindowPositionIsUsedOnlyWhenBothCoordinatesRead) {
    const struct {
        const char* pszCase;
        CValue x, y;
        const char* pszInner;
        const char* pszOperation;
        LONG lResult;
    } cases[] = {
        {"X without Y", Dword(100), kNone, kValueMissing, "GetWindowPos(Y)", ERROR_FILE_NOT_FOUND},
        {"Y without X", kNone, Dword(100), kValueMissing, "GetWindowPos(X)", ERROR_FILE_NOT_FOUND},
        {"X malformed", Qword(100), Dword(100), kValueTooLong, "GetWindowPos(X)", ERROR_MORE_DATA},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        ClearAgentKeys();
        Store(HKEY_CURRENT_USER, kAgentKey, "Other", Dword(1));
        Store(HKEY_CURRENT_USER, kAgentKey, "X", test.x);
        Store(HKEY_CURRENT_USER, kAgentKey, "Y", test.y);
        POINT ptPosition = {5, 5};
        EXPECT_EQ(test.lResult, CRegistry::GetWindowPos(ptPosition, {1019, 763}));
        EXPECT_EQ(1019, ptPosition.x);
        EXPECT_EQ(763, ptPosition.y);
        EXPECT_EQ(Trace(test.pszInner, test.pszOperation, test.lResult), m_Trace.Lines());
    }
}

TEST_F(RegistryTest, FirstWriteCreatesTheKeyAndEverySettingReadsBack) {
    const DWORD dwBkColor = 0x01102030, dwTextColor = 0x00FFFFFF;
    CRegistry::SetOpenOnError(FALSE);
    CRegistry::SetOpenWhenPrinting(TRUE);
    CRegistry::SetHowManyReboots(2);
    CRegistry::SetBkColor(&dwBkColor);
    CRegistry::SetTextColor(&dwTextColor);
    CRegistry::SetWindowPos({-1200, 300});
    EXPECT_EQ(0u, Stored("OpenOnError"));
    EXPECT_EQ(1u, Stored("OpenWhenPrinting"));
    EXPECT_EQ(2u, Stored("Reboot"));
    EXPECT_EQ(dwBkColor, Stored("BkColor"));
    EXPECT_EQ(dwTextColor, Stored("TextColor"));
    EXPECT_EQ(static_cast<DWORD>(-1200), Stored("X"));
    EXPECT_EQ(300u, Stored("Y"));
    CUniqueKey hMachineKey; // writes never reach the machine's key
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAgentKey, 0, KEY_READ, hMachineKey.Receive()));

    BOOL bOpenOnError = TRUE, bOpenWhenPrinting = FALSE;
    DWORD dwReboots = 0, dwBk = 0, dwText = 0;
    POINT ptPosition = {};
    CRegistry::GetOpenOnError(bOpenOnError, TRUE);
    CRegistry::GetOpenWhenPrinting(bOpenWhenPrinting, FALSE);
    CRegistry::GetHowManyReboots(dwReboots, 0);
    CRegistry::GetBkColor(dwBk, nullptr);
    CRegistry::GetTextColor(dwText, nullptr);
    CRegistry::GetWindowPos(ptPosition, {});
    EXPECT_EQ(FALSE, bOpenOnError);
    EXPECT_EQ(TRUE, bOpenWhenPrinting);
    EXPECT_EQ(2u, dwReboots);
    EXPECT_EQ(dwBkColor, dwBk);
    EXPECT_EQ(dwTextColor, dwText);
    EXPECT_EQ(-1200, ptPosition.x);
    EXPECT_EQ(300, ptPosition.y);
    EXPECT_EQ(Lines{}, m_Trace.Lines()); // every operation succeeded
}

TEST_F(RegistryTest, WriteFailureIsTracedByTheWriteAndByTheSetting) {
    // A volatile key cannot hold a non-volatile one: no write reaches the agent key.
    CUniqueKey hProductKey;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tessel\\Tessel Photo", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, hProductKey.Receive(), nullptr));
    const char kCreateFailed[] = "CRegistry::SetDWORDKey() : RegCreateKeyEx() returns 1021\n";
    const DWORD dwColor = 0x01102030;
    const struct {
        const char* pszOperation;
        LONG (*pfnSet)(const DWORD*);
    } cases[] = {
        {"SetOpenOnError()", [](const DWORD*) { return CRegistry::SetOpenOnError(TRUE); }},
        {"SetOpenWhenPrinting()", [](const DWORD*) { return CRegistry::SetOpenWhenPrinting(FALSE); }},
        {"SetHowManyReboots()", [](const DWORD*) { return CRegistry::SetHowManyReboots(1); }},
        {"SetBkColor()", CRegistry::SetBkColor},
        // Y is not tried once X has failed.
        {"SetWindowPos() : SetDWORDKey(X)",
         [](const DWORD*) {
             return CRegistry::SetWindowPos({1, 2});
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszOperation);
        m_Trace.Clear();
        EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, test.pfnSet(&dwColor));
        EXPECT_EQ(Trace(kCreateFailed, test.pszOperation, ERROR_CHILD_MUST_BE_VOLATILE), m_Trace.Lines());
    }
    // The text colour's line carries the thread's last error, which the registry leaves alone.
    m_Trace.Clear();
    SetLastError(4321);
    EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, CRegistry::SetTextColor(&dwColor));
    EXPECT_EQ(Trace(kCreateFailed, "SetTextColor()", 4321), m_Trace.Lines());
}

TEST_F(RegistryTest, ValueThatCannotBeSetIsTraced) {
    const LONG lResult = CRegistry::SetDWORDKey(kAgentKey, std::string(16384, 'v'), 1);
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

    Store(HKEY_LOCAL_MACHINE, strKey, "Port", {REG_SZ, "USB007"});
    CUniqueKey hKey;
    DWORD dwStoredSize = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, KEY_READ, hKey.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(hKey.Get(), L"Port", nullptr, nullptr, nullptr, &dwStoredSize));
    ASSERT_EQ(6 * sizeof(WCHAR), dwStoredSize) << "stored with a terminating zero";
    EXPECT_EQ(ERROR_SUCCESS, CRegistry::GetPort(printer.Name(), strPort));
    EXPECT_EQ("USB007", strPort);

    Store(HKEY_LOCAL_MACHINE, strKey, "Port", {REG_EXPAND_SZ, std::string("%SystemRoot%", 13)});
    EXPECT_EQ(ERROR_SUCCESS, CRegistry::GetPort(printer.Name(), strPort));
    EXPECT_EQ("%SystemRoot%", strPort);
    EXPECT_EQ(Lines{}, trace.Lines());

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CRegistry::GetPort(UniqueName("No such printer "), strPort));
    EXPECT_EQ("%SystemRoot%", strPort);
    EXPECT_EQ(Trace("CRegistry::GetStringKey() : RegOpenKeyEx() returns 2\n", "GetPort() : GetStringKey()",
                    ERROR_FILE_NOT_FOUND),
              trace.Lines());
}

// A port of a TCP/IP port monitor of its own, removed after each test.
class PortSettingsTest : public ::testing::Test {
protected:
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
    CSavedRegistryTree m_MonitorTree{HKEY_LOCAL_MACHINE, m_strMonitorKey};
    CTraceCapture m_Trace;
};

TEST_F(PortSettingsTest, IpAddressIsReadAsTextWhateverItsType) {
    const struct {
        const char* pszCase;
        const char* pszName;
        CValue value;
        const char* pszInner;
        LONG lResult;
        std::string strExpected;
    } cases[] = {
        {"string", "IPAddress", Text("10.0.0.7"), nullptr, ERROR_SUCCESS, "10.0.0.7"},
        {"unterminated binary", "IPAddress", {REG_BINARY, "10.0.0.8"}, nullptr, ERROR_SUCCESS, "10.0.0.8"},
        {"empty", "IPAddress", {REG_SZ, ""}, nullptr, ERROR_SUCCESS, ""},
        {"value absent", "HostName", Text("printer"),
         "CRegistry::GetStringKey() : RegQueryValueEx() returns 2\n", ERROR_FILE_NOT_FOUND, "unchanged"},
        {"port absent", nullptr, kNone, "CRegistry::GetStringKey() : RegOpenKeyEx() returns 2\n",
         ERROR_FILE_NOT_FOUND, "unchanged"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        StorePortValue(test.pszName, test.value);
        std::string strAddress = "unchanged";
        EXPECT_EQ(test.lResult, CRegistry::GetIpAddresFromPortSettings(m_strMonitor, m_strPort, strAddress));
        EXPECT_EQ(test.strExpected, strAddress);
        EXPECT_EQ(Trace(test.pszInner, "GetIpAddresFromPortSettings() : GetStringKey()", test.lResult),
                  m_Trace.Lines());
    }
}

TEST_F(PortSettingsTest, TcpPortFallsBackToTheDefault) {
    const struct {
        const char* pszCase;
        const char* pszName;
        CValue value;
        const char* pszInner;
        LONG lResult;
        DWORD dwExpected;
    } cases[] = {
        {"number", "PortNumber", Dword(515), nullptr, ERROR_SUCCESS, 515},
        {"short text, raw", "PortNumber", Text("515"), nullptr, ERROR_SUCCESS, 0x353135},
        {"longer text", "PortNumber", Text("9101"), kValueTooLong, ERROR_MORE_DATA, 9100},
        {"qword", "PortNumber", Qword(515), kValueTooLong, ERROR_MORE_DATA, 9100},
        {"value absent", "IPAddress", Text("10.0.0.7"), kValueMissing, ERROR_FILE_NOT_FOUND, 9100},
        {"port absent", nullptr, kNone, kOpenFailed, ERROR_FILE_NOT_FOUND, 9100},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        StorePortValue(test.pszName, test.value);
        DWORD dwTcpPort = 1;
        EXPECT_EQ(test.lResult,
                  CRegistry::GetTcpPortFromPortSettings(m_strMonitor, m_strPort, dwTcpPort, 9100));
        EXPECT_EQ(test.dwExpected, dwTcpPort);
        EXPECT_EQ(Trace(test.pszInner, "GetTcpPortFromPortSettings()", test.lResult), m_Trace.Lines());
    }
}

} // namespace
