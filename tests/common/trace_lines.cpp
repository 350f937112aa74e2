// The captured trace lines, shared by the host build, where the tests' own
// DebugTrace adds them, and the Windows build, where the debug output does.
#include "tests/common/trace_capture.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex g_lock;
std::vector<std::string> g_lines;

} // namespace

void AppendTraceLine(std::string strLine) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_lines.push_back(std::move(strLine));
}

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
