#include "app/format.h"

#include <cstdio>

std::string FormatV(const char* pszFormat, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), pszFormat, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string text = FormatV(pszFormat, args);
    va_end(args);
    return text;
}
