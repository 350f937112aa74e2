// printf-style formatting into a std::string, of any length.
#pragma once

#include <cstdarg>
#include <string>

#include "app/trace.h"

std::string FormatV(const char* pszFormat, va_list args);
std::string Format(const char* pszFormat, ...) NY_PRINTF_FORMAT(1, 2);
