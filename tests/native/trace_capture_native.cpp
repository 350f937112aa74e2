// The host build has no debug output: DebugTrace records its lines here.
#include "tests/common/trace_capture.h"

#include <algorithm>
#include <cstdarg>
#include <mutex>

#include "app/format.h"
#include "app/trace.h"

namespace {

std::mutex g_lock;
std::vector<std::string> g_lines;

} // namespace

void DebugTrace(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string text = FormatV(pszFormat, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(g_lock);
    g_lines.push_back(std::move(text));
}

CTraceCapture::CTraceCapture() { Clear(); }
CTraceCapture::~CTraceCapture() { Clear(); }

std::vector<std::string> CTraceCapture::Lines() const {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_lines;
}

int CTraceCapture::Count(const std::string& strLine) const {
    std::lock_guard<std::mutex> lock(g_lock);
    return static_cast<int>(std::count(g_lines.begin(), g_lines.end(), strLine));
}

void CTraceCapture::Clear() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_lines.clear();
}
