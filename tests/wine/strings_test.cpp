// The string tables and their loader. Tests named after a locale run in a
// process started with that locale (see CMakeLists.txt); the rest do not
// depend on the user's language.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <regex>

#include "app/strings.h"
#include "tests/common/trace_capture.h"

namespace {

const LANGID kLanguages[] = {0x0005, 0x0007, 0x0008, 0x0009, 0x000A, 0x000C, 0x000E, 0x0010,
                             0x0013, 0x0015, 0x0016, 0x0019, 0x001D, 0x001F, 0x0804};

// Reads an entry straight from the program's resources in one language,
// without the loader under test. Empty when the entry or its block is missing.
std::wstring RawEntry(LANGID wLanguage, unsigned int nID, bool* pbBlockFound = nullptr) {
    const HMODULE hModule = GetModuleHandleW(nullptr);
    const HRSRC hBlock =
        FindResourceExW(hModule, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW((nID >> 4) + 1), wLanguage);
    if (pbBlockFound)
        *pbBlockFound = hBlock != nullptr;
    if (!hBlock)
        return std::wstring();
    const WCHAR* p = static_cast<const WCHAR*>(LockResource(LoadResource(hModule, hBlock)));
    for (unsigned int i = 0; i < (nID & 0xF); ++i)
        p += 1 + *p;
    return std::wstring(p + 1, *p);
}

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// The printf directives of an entry, in order ("%%" included).
std::vector<std::string> Placeholders(const std::wstring& text) {
    static const std::regex directive("%[-+ #0]*[0-9]*(\\.[0-9]+)?(hh|h|ll|l)?[a-zA-Z%]");
    const std::string narrow = Utf8(text);
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(narrow.begin(), narrow.end(), directive);
         it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

std::string Unable(LANGID wLanguage, DWORD dwError) {
    char szLine[128];
    std::snprintf(szLine, sizeof(szLine),
                  "LoadString() : Unable to found 0x%04x resources. GetLastError() = %d\n", wLanguage,
                  static_cast<int>(dwError));
    return szLine;
}

} // namespace

TEST(StringTable, EveryLanguageHasEveryEntryWithEnglishPlaceholders) {
    for (LANGID wLanguage : kLanguages) {
        for (unsigned int nID = 101; nID <= 223; ++nID) {
            bool bBlock = false;
            const std::wstring text = RawEntry(wLanguage, nID, &bBlock);
            ASSERT_TRUE(bBlock) << std::hex << wLanguage << std::dec << " block of " << nID;
            const bool bEmptyByDesign = nID == 152 && (wLanguage == 0x0005 || wLanguage == 0x0008 ||
                                                       wLanguage == 0x000E || wLanguage == 0x001D);
            if (bEmptyByDesign) {
                EXPECT_TRUE(text.empty()) << std::hex << wLanguage;
                continue;
            }
            EXPECT_FALSE(text.empty()) << std::hex << wLanguage << std::dec << " entry " << nID;
            if (nID == 152) {
                EXPECT_EQ(L" ", text) << std::hex << wLanguage;
                continue;
            }
            if (wLanguage == 0x0013 && nID == 101) {
                EXPECT_TRUE(Placeholders(text).empty()) << "Dutch 101 has no placeholder";
                continue;
            }
            EXPECT_EQ(Placeholders(RawEntry(0x0009, nID)), Placeholders(text))
                << std::hex << wLanguage << std::dec << " entry " << nID << ": " << Utf8(text);
        }
    }
}

TEST(StringTable, NoEntryBeyondTheTable) {
    for (LANGID wLanguage : kLanguages) {
        EXPECT_TRUE(RawEntry(wLanguage, 100).empty()) << std::hex << wLanguage;
        EXPECT_TRUE(RawEntry(wLanguage, 224).empty()) << std::hex << wLanguage;
    }
}

TEST(LoadStringEnglish, FindsEnglishDirectly) {
    ASSERT_EQ(0x0409, GetUserDefaultLangID());
    CTraceCapture trace;
    EXPECT_EQ("Not connected", LoadString(108));
    EXPECT_EQ("Tessel Photo version 4.0", FormatString(147, "Tessel Photo", 4, 0));
    // Each look-up misses the exact language once before English.
    EXPECT_EQ(std::vector<std::string>(2, Unable(0x0409, ERROR_RESOURCE_LANG_NOT_FOUND)), trace.Lines());
}

TEST(LoadStringEnglish, IdAboveTheTableIsEmptyAfterTheWholeChain) {
    CTraceCapture trace;
    EXPECT_EQ("", LoadString(224));
    EXPECT_EQ("", LoadString(4000));
    const std::vector<std::string> expected = {
        Unable(0x0409, ERROR_RESOURCE_NAME_NOT_FOUND), Unable(0x0009, ERROR_RESOURCE_NAME_NOT_FOUND),
        Unable(0x0409, ERROR_RESOURCE_NAME_NOT_FOUND), Unable(0x0009, ERROR_RESOURCE_NAME_NOT_FOUND)};
    EXPECT_EQ(expected, trace.Lines());
}

TEST(LoadStringFrenchCanada, FallsToFrenchAfterOneTrace) {
    ASSERT_EQ(0x0C0C, GetUserDefaultLangID());
    CTraceCapture trace;
    EXPECT_EQ(Utf8(RawEntry(0x000C, 109)), LoadString(109));
    EXPECT_NE("Ready", LoadString(109));
    EXPECT_EQ(Unable(0x0C0C, ERROR_RESOURCE_LANG_NOT_FOUND), trace.Lines().at(0));
    EXPECT_EQ(2u, trace.Lines().size());
}

TEST(LoadStringGermanSwitzerland, FallsToGerman) {
    ASSERT_EQ(0x0807, GetUserDefaultLangID());
    CTraceCapture trace;
    EXPECT_EQ(Utf8(RawEntry(0x0007, 114)), LoadString(114));
    EXPECT_EQ(std::vector<std::string>{Unable(0x0807, ERROR_RESOURCE_LANG_NOT_FOUND)}, trace.Lines());
}

TEST(LoadStringChinesePRC, FoundDirectlyAndIntact) {
    ASSERT_EQ(0x0804, GetUserDefaultLangID());
    EXPECT_EQ(65001u, GetACP()) << "the manifest makes narrow text UTF-8";
    CTraceCapture trace;
    EXPECT_EQ("就绪", LoadString(109));
    EXPECT_EQ(Utf8(RawEntry(0x0804, 154)), LoadString(154));
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(LoadStringChineseTaiwan, EndsInEnglish) {
    ASSERT_EQ(0x0404, GetUserDefaultLangID());
    CTraceCapture trace;
    EXPECT_EQ("Ready", LoadString(109));
    const std::vector<std::string> expected = {Unable(0x0404, ERROR_RESOURCE_LANG_NOT_FOUND),
                                               Unable(0x0004, ERROR_RESOURCE_LANG_NOT_FOUND)};
    EXPECT_EQ(expected, trace.Lines());
}

TEST(LoadStringJapanese, EndsInEnglishWithTwoTraces) {
    ASSERT_EQ(0x0411, GetUserDefaultLangID());
    CTraceCapture trace;
    EXPECT_EQ("Printing", LoadString(110));
    const std::vector<std::string> expected = {Unable(0x0411, ERROR_RESOURCE_LANG_NOT_FOUND),
                                               Unable(0x0011, ERROR_RESOURCE_LANG_NOT_FOUND)};
    EXPECT_EQ(expected, trace.Lines());
}

TEST(LoadStringCzech, EmptyEntryGivesEmptyTextAndItsPosition) {
    ASSERT_EQ(0x0405, GetUserDefaultLangID());
    LoadString(109); // settle the language look-up
    CTraceCapture trace;
    EXPECT_EQ("", LoadString(152));
    const std::vector<std::string> expected = {Unable(0x0405, ERROR_RESOURCE_LANG_NOT_FOUND),
                                               "LoadString() : Error getting string 8\n"};
    EXPECT_EQ(expected, trace.Lines());
}

TEST(LoadStringRussian, CyrillicIsIntact) {
    ASSERT_EQ(0x0419, GetUserDefaultLangID());
    EXPECT_EQ("Закрыть", LoadString(102));
    EXPECT_EQ(Utf8(RawEntry(0x0019, 155)), LoadString(155));
}

TEST(LoadStringDutch, EntryWithoutPlaceholderIgnoresItsArgument) {
    ASSERT_EQ(0x0413, GetUserDefaultLangID());
    EXPECT_EQ(Utf8(RawEntry(0x0013, 101)), FormatString(101, "Tessel Photo"));
}
