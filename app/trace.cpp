#include "app/trace.h"

#include <cstdarg>
#include <string>

#include <windows.h>

#include "app/format.h"

void DebugTrace(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    const std::string text = FormatV(pszFormat, args);
    va_end(args);
    OutputDebugStringA(text.c_str());
}
