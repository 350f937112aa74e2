#include "app/winver.h"

namespace {

struct VersionAnswers {
    BOOL bWin2000OrLater;
    BOOL bWin2000;
    BOOL bWinXPOrLater;
    BOOL bWin98;
};

VersionAnswers Answer(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor) {
    const bool nt = dwPlatformId == VER_PLATFORM_WIN32_NT;
    VersionAnswers answers;
    answers.bWin2000OrLater = nt && dwMajor > 4;
    answers.bWin2000 = nt && dwMajor == 5 && dwMinor == 0;
    answers.bWinXPOrLater = nt && (dwMajor > 5 || (dwMajor == 5 && dwMinor > 0));
    answers.bWin98 = dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && dwMajor == 4 && dwMinor == 10;
    return answers;
}

VersionAnswers AskSystem() {
    // RtlGetVersion tells the truth whatever the manifest says; GetVersionEx
    // is capped at 6.2 without a compatibility manifest, which is enough for
    // every test made here, but the kernel's answer is the honest one.
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE hNtdll = GetModuleHandleW(L"ntdll.dll");
    const auto pfnRtlGetVersion =
        hNtdll ? reinterpret_cast<RtlGetVersionFn>(
                     reinterpret_cast<void*>(GetProcAddress(hNtdll, "RtlGetVersion")))
               : nullptr;
    if (!pfnRtlGetVersion || pfnRtlGetVersion(&info) != 0) {
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
        GetVersionExW(&info);
    }
    return Answer(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

VersionAnswers& Cache() {
    static VersionAnswers answers = AskSystem();
    return answers;
}

} // namespace

BOOL IsWin2000OrLater() { return Cache().bWin2000OrLater; }
BOOL IsWin2000() { return Cache().bWin2000; }
BOOL IsWinXPOrLater() { return Cache().bWinXPOrLater; }
BOOL IsWin98() { return Cache().bWin98; }

void SetWindowsVersionForTesting(DWORD dwPlatformId, DWORD dwMajorVersion, DWORD dwMinorVersion) {
    Cache() = Answer(dwPlatformId, dwMajorVersion, dwMinorVersion);
}
