// The agent's only diagnostic channel: a printf-style line for the system debug output.
#pragma once

#if defined(__MINGW32__)
#define NY_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define NY_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define NY_PRINTF_FORMAT(fmt, args)
#endif

// Formats its arguments and hands the text, unchanged, to OutputDebugStringA.
// Callers end their texts with a line feed.
void DebugTrace(const char* pszFormat, ...) NY_PRINTF_FORMAT(1, 2);
