// The fleet's Windows pieces: the agent's message table with a text for every
// event id, the metrics file's replacement and removal, and the watch on the
// machine's setting.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/registry_watch.h"
#include "app/wide_text.h"
#include "framework/unique_handle.h"
#include "framework/unique_key.h"
#include "monitor/fleet/metrics_file.h"
#include "nyagent_events.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_printer.h"

namespace {

std::wstring FormatEvent(HMODULE hModule, DWORD dwId, const std::vector<const wchar_t*>& args) {
    wchar_t szText[1024] = {};
    const DWORD nLength = FormatMessageW(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, hModule, dwId,
        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), szText, 1024,
        reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(reinterpret_cast<const DWORD_PTR*>(args.data()))));
    return std::wstring(szText, nLength);
}

// The message table is in the agent, with a text for every event id that
// takes the printer's name as its first insertion string.
TEST(EventMessages, TheAgentCarriesATextForEveryEvent) {
    const HMODULE hAgent = LoadLibraryExA(NYAGENT_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hAgent) << GetLastError();
    const std::vector<const wchar_t*> args = {L"Front", L"NET1", L"0x80000001", L"Out of paper", L"Insert"};
    for (const DWORD dwId :
         {MSG_AGENT_STARTED, MSG_AGENT_ENDED, MSG_PRINTER_ERROR_RAISED, MSG_PRINTER_ERROR_CLEARED,
          MSG_PRINTER_CONNECTED, MSG_PRINTER_DISCONNECTED, MSG_PRINTER_EVENTS_SUPPRESSED})
        EXPECT_NE(std::wstring::npos, FormatEvent(hAgent, dwId, args).find(L" Front ")) << std::hex << dwId;
    EXPECT_EQ(L"", FormatEvent(hAgent, 0x40000099, args)); // an id outside the table
    FreeLibrary(hAgent);
}

std::string TempFolder(const std::string& strName) {
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    return szTemp + UniqueName(strName);
}

// The names in a folder, sorted by the system's listing.
std::vector<std::string> Files(const std::string& strFolder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const CUniqueFind hFind(FindFirstFileA((strFolder + "\\*").c_str(), &data));
    for (bool bMore = static_cast<bool>(hFind); bMore; bMore = FindNextFileA(hFind.Get(), &data))
        if (data.cFileName[0] != '.')
            names.push_back(data.cFileName);
    return names;
}

// What the file holds, and its replacement, is read by Prometheus in the
// fleet's end-to-end test.
TEST(MetricsFile, ReplacesRemovesAndFollowsTheFolder) {
    const std::string strFirst = TempFolder("NyMetricsA");
    const std::string strSecond = TempFolder("NyMetricsB");
    ASSERT_TRUE(CreateDirectoryA(strFirst.c_str(), nullptr));
    CTraceCapture trace;
    {
        CMetricsFile file(3);
        ASSERT_TRUE(file.Write(Widen(strFirst), "a 1\n"));
        ASSERT_TRUE(file.Write(Widen(strFirst + "\\"), "a 2\n"));
        EXPECT_EQ(std::vector<std::string>{"nyagent_session3.prom"}, Files(strFirst));
        // A folder that does not exist yet: traced once, then written once it exists.
        EXPECT_FALSE(file.Write(Widen(strSecond), "b 1\n"));
        EXPECT_FALSE(file.Write(Widen(strSecond), "b 2\n"));
        EXPECT_EQ(1, trace.Count(
                         "CMetricsFile::Write() : the metrics file cannot be written. GetLastError() = 3\n"));
        EXPECT_TRUE(Files(strFirst).empty());
        ASSERT_TRUE(CreateDirectoryA(strSecond.c_str(), nullptr));
        EXPECT_TRUE(file.Write(Widen(strSecond), "b 3\n"));
        EXPECT_EQ(1, trace.Count("CMetricsFile::Write() : the metrics file is written again\n"));
        EXPECT_EQ(std::vector<std::string>{"nyagent_session3.prom"}, Files(strSecond));
    }
    EXPECT_TRUE(Files(strSecond).empty());
    RemoveDirectoryA(strFirst.c_str());
    RemoveDirectoryA(strSecond.c_str());
}

TEST(RegistryWatch, ReadsAndSignalsChangesOfTheValue) {
    const std::string strKey = "Software\\" + UniqueName("NyFleetWatch");
    CTraceCapture trace;
    CRegistryWatch watch(Widen(strKey).c_str(), L"MetricsDirectory");
    ASSERT_TRUE(watch.GetEvent());
    // Without the key: nothing to watch (traced once), and nothing read.
    EXPECT_FALSE(watch.Arm());
    EXPECT_FALSE(watch.Arm());
    EXPECT_EQ(1, trace.Count("CRegistryWatch::Arm() : the key cannot be watched. Error = 2\n"));
    EXPECT_EQ(L"", watch.Read());
    CUniqueKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    ASSERT_TRUE(watch.Arm());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(watch.GetEvent(), 0));
    const wchar_t szFolder[] = L"C:\\Metrics \x00e9t\x00e9";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), L"MetricsDirectory", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(szFolder), sizeof(szFolder)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch.GetEvent(), 5000));
    EXPECT_EQ(szFolder, watch.Read());
    // Armed again, it signals again; a value of another type reads as none.
    ASSERT_TRUE(watch.Arm());
    const DWORD dwNumber = 1;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), L"MetricsDirectory", 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&dwNumber), sizeof(dwNumber)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch.GetEvent(), 5000));
    EXPECT_EQ(L"", watch.Read());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, strKey.c_str());
}

} // namespace
