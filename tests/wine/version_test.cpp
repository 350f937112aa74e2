// The version record, read from the program's own file by name. The test
// program runs twice: as itself, with no agent file beside it, and copied
// as NyAgent.exe, carrying a record with two translations.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/nyagent_app.h"
#include "tests/common/trace_capture.h"

namespace {

bool RunsAsTheAgentFile() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const char* pszName = strrchr(szPath, '\\');
    return pszName && lstrcmpiA(pszName + 1, "NyAgent.exe") == 0;
}

// The value of the key, or what a failed read leaves of the caller's.
std::string Read(const char* pszKey) {
    std::string strValue = "unchanged";
    return CNyAgentApp::GetVersionInformation(pszKey, strValue) ? strValue : "failed, " + strValue;
}

} // namespace

TEST(VersionRecord, LastTranslationHoldingTheKeyWinsAndTheFixedBlockGivesTheVersion) {
    if (!RunsAsTheAgentFile())
        GTEST_SKIP() << "runs only as NyAgent.exe";
    WORD wMajor = 0, wMinor = 0, wBuild = 0, wRevision = 0;
    ASSERT_TRUE(CNyAgentApp::GetProductVersion(wMajor, wMinor, wBuild, wRevision));
    EXPECT_EQ((std::vector<WORD>{7, 8, 9, 10}), (std::vector<WORD>{wMajor, wMinor, wBuild, wRevision}));
    // A key held by the first translation only is still found.
    EXPECT_EQ((std::vector<std::string>{"Second Product", "First Company", "failed, unchanged"}),
              (std::vector<std::string>{Read("ProductName"), Read("CompanyName"), Read("NoSuchKey")}));
    EXPECT_STREQ("Second Product", CNyAgentApp::GetProductName());
}

TEST(VersionRecord, MissingAgentFileLeavesValuesAndRetries) {
    if (RunsAsTheAgentFile())
        GTEST_SKIP() << "runs only without NyAgent.exe beside it";
    CTraceCapture trace;
    EXPECT_EQ("failed, unchanged", Read("ProductName"));
    EXPECT_STREQ("", CNyAgentApp::GetProductName());
    EXPECT_STREQ("", CNyAgentApp::GetProductName());
    // Not kept: each call looks for the file again.
    EXPECT_EQ(3, trace.Count("CNyAgentApp::GetVersionInformation() : GetFileVersionInfoSize() failed. "
                             "GetLastError() = 2\n"));
}
