// The host build has no debug output: for the benchmarks DebugTrace formats
// its line, as the Win32 one does before OutputDebugStringA, and drops it.
#include <cstdarg>
#include <string>

#include <benchmark/benchmark.h>

#include "app/format.h"
#include "app/trace.h"

void DebugTrace(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string text = FormatV(pszFormat, args);
    va_end(args);
    benchmark::DoNotOptimize(text);
}
