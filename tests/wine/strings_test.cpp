// The string tables and their loader. Tests named after a locale run in a
// process started with that locale (see CMakeLists.txt); the rest do not
// depend on the user's language.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>

#include "app/format.h"
#include "app/strings.h"
#include "app/wide_text.h"
#include "resources/string_ids.h"
#include "tests/common/trace_capture.h"
#include "ui/dialog_font.h"

namespace {

using Lines = std::vector<std::string>;

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

// The printf directives of an entry, in order ("%%" included).
std::vector<std::string> Placeholders(const std::wstring& text) {
    static const std::regex directive("%[-+ #0]*[0-9]*(\\.[0-9]+)?(hh|h|ll|l)?[a-zA-Z%]");
    const std::string narrow = Utf8FromWide(text);
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(narrow.begin(), narrow.end(), directive);
         it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

std::string Unable(LANGID wLanguage, DWORD dwError) {
    return Format("LoadString() : Unable to found 0x%04x resources. GetLastError() = %d\n", wLanguage,
                  static_cast<int>(dwError));
}

// In the process's locale (the user's language wLanguage), entry nID loads
// as strText after the traces of the languages tried before.
void ExpectLoaded(LANGID wLanguage, unsigned int nID, const std::string& strText, const Lines& traces) {
    ASSERT_EQ(wLanguage, GetUserDefaultLangID());
    CTraceCapture trace;
    EXPECT_EQ(strText, LoadString(nID));
    EXPECT_EQ(traces, trace.Lines());
}

} // namespace

TEST(StringTable, EveryLanguageHasEveryEntryWithEnglishPlaceholders) {
    for (LANGID wLanguage : kLanguages) {
        EXPECT_TRUE(RawEntry(wLanguage, 100).empty() && RawEntry(wLanguage, IDS_LAST + 1).empty())
            << std::hex << wLanguage;
        for (unsigned int nID = IDS_FIRST; nID <= IDS_LAST; ++nID) {
            bool bBlock = false;
            const std::wstring text = RawEntry(wLanguage, nID, &bBlock);
            ASSERT_TRUE(bBlock) << std::hex << wLanguage << std::dec << " block of " << nID;
            if (nID == 152) { // a space, or empty by design in four languages
                const bool bEmpty =
                    wLanguage == 0x0005 || wLanguage == 0x0008 || wLanguage == 0x000E || wLanguage == 0x001D;
                EXPECT_EQ(bEmpty ? L"" : L" ", text) << std::hex << wLanguage;
                continue;
            }
            EXPECT_FALSE(text.empty()) << std::hex << wLanguage << std::dec << " entry " << nID;
            if (wLanguage == 0x0013 && nID == 101) {
                EXPECT_TRUE(Placeholders(text).empty()) << "Dutch 101 has no placeholder";
                continue;
            }
            EXPECT_EQ(Placeholders(RawEntry(0x0009, nID)), Placeholders(text))
                << std::hex << wLanguage << std::dec << " entry " << nID << ": " << Utf8FromWide(text);
        }
    }
}

// The Task and Total labels stand right-aligned left of their bars and have
// 54 pixels at 96 DPI (scaled with the DPI): in every language both fit in
// the status window's font, or their first letters are cut off. So do a failed
// Cancel's and Resume's messages in the printing layout's lower line: 350
// pixels less the line's left margin, its 5 extra pixels and as much on the right.
TEST(StringTable, TaskAndTotalLabelsFitLeftOfTheBars) {
    const HDC hdc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, hdc);
    for (const unsigned nDpi : {96u, 144u}) {
        const CUniqueFont font = CDialogFont::Create(nDpi, FW_NORMAL);
        ASSERT_TRUE(font);
        const HGDIOBJ hOld = SelectObject(hdc, font.Get());
        for (LANGID wLanguage : kLanguages) {
            for (const auto& [nID, nRoom96] : {std::pair<unsigned, int>{IDS_TASK, 54},
                                               {IDS_TOTAL, 54},
                                               {IDS_CANCEL_FAILED, 350 - 10 - 5 - 10},
                                               {IDS_RESUME_FAILED, 350 - 10 - 5 - 10}}) {
                const std::wstring text = RawEntry(wLanguage, nID);
                SIZE size = {};
                GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
                EXPECT_LE(size.cx, MulDiv(nRoom96, static_cast<int>(nDpi), 96))
                    << std::hex << wLanguage << std::dec << " entry " << nID << " at " << nDpi
                    << " DPI: " << Utf8FromWide(text);
            }
        }
        SelectObject(hdc, hOld);
    }
    DeleteDC(hdc);
}

TEST(LoadStringEnglish, FindsEnglishAfterOneMissAndNothingAboveTheTable) {
    ExpectLoaded(0x0409, 109, "Ready", {Unable(0x0409, ERROR_RESOURCE_LANG_NOT_FOUND)});
    // after the whole chain
    ExpectLoaded(
        0x0409, 4000, "",
        {Unable(0x0409, ERROR_RESOURCE_NAME_NOT_FOUND), Unable(0x0009, ERROR_RESOURCE_NAME_NOT_FOUND)});
    EXPECT_EQ("Tessel Photo version 4.0", FormatString(147, "Tessel Photo", 4, 0));
}

TEST(LoadStringChinesePRC, FoundDirectlyAndIntact) {
    EXPECT_EQ(65001u, GetACP()) << "the manifest makes narrow text UTF-8";
    ExpectLoaded(0x0804, 109, "就绪", {});
}

// The only Chinese block is the PRC one: neither Taiwan's language nor the
// neutral one is found.
TEST(LoadStringChineseTaiwan, EndsInEnglish) {
    ExpectLoaded(
        0x0404, 109, "Ready",
        {Unable(0x0404, ERROR_RESOURCE_LANG_NOT_FOUND), Unable(0x0004, ERROR_RESOURCE_LANG_NOT_FOUND)});
}

TEST(LoadStringCzech, EmptyEntryGivesEmptyTextAndItsPosition) {
    ExpectLoaded(0x0405, 152, "",
                 {Unable(0x0405, ERROR_RESOURCE_LANG_NOT_FOUND), "LoadString() : Error getting string 8\n"});
}

TEST(LoadStringRussian, FallsToRussianWithCyrillicIntact) {
    ExpectLoaded(0x0419, 102, "Закрыть", {Unable(0x0419, ERROR_RESOURCE_LANG_NOT_FOUND)});
}

TEST(LoadStringDutch, EntryWithoutPlaceholderIgnoresItsArgument) {
    ASSERT_EQ(0x0413, GetUserDefaultLangID());
    EXPECT_EQ(Utf8FromWide(RawEntry(0x0013, 101)), FormatString(101, "Tessel Photo"));
}
