// The host build has no debug output: DebugTrace hands its lines to the capture.
#include "tests/common/trace_capture.h"

#include <cstdarg>

#include "app/format.h"
#include "app/trace.h"

void DebugTrace(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string text = FormatV(pszFormat, args);
    va_end(args);
    AppendTraceLine(std::move(text));
}

CTraceCapture::CTraceCapture() {
    Clear();
}
CTraceCapture::~CTraceCapture() {
    Clear();
}
