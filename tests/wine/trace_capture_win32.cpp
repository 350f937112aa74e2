// Sees every OutputDebugStringA text of this process through a vectored
// exception handler, so tests read the agent's traces exactly as written.
#include "tests/common/trace_capture.h"

#include <windows.h>

namespace {

constexpr DWORD kDebugPrintException = 0x40010006; // DBG_PRINTEXCEPTION_C

PVOID g_hHandler = nullptr;

LONG CALLBACK OnException(EXCEPTION_POINTERS* pInfo) {
    const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
    if (pRecord->ExceptionCode != kDebugPrintException || pRecord->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const char* pszText = reinterpret_cast<const char*>(pRecord->ExceptionInformation[1]);
    AppendTraceLine(pszText ? pszText : "");
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

CTraceCapture::CTraceCapture() {
    Clear();
    g_hHandler = AddVectoredExceptionHandler(1, OnException);
}

CTraceCapture::~CTraceCapture() {
    RemoveVectoredExceptionHandler(g_hHandler);
    g_hHandler = nullptr;
}
