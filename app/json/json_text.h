// Reading and writing JSON text (RFC 8259), strictly: the text must be valid
// UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF), escapes
// must pair their surrogates, and nothing may follow the value but blanks.
// Platform-free.
#pragma once

#include <cstddef>
#include <string>

#include "app/json/json_value.h"

enum class JsonError {
    None,
    InvalidUtf8, // the bytes are no UTF-8 text
    Malformed,   // UTF-8, but no single JSON value
    TooDeep,     // arrays and objects nested deeper than kMaxJsonDepth
};

constexpr int kMaxJsonDepth = 32;

// TRUE when the bytes are well-formed UTF-8.
bool IsValidUtf8(const char* p, std::size_t n);
// Parses one value; on failure returns the fault and leaves value null.
JsonError ParseJson(const std::string& strText, CJsonValue& value);
// One line of JSON, no blanks, no line break. Strings are escaped so that the
// text stays ASCII-safe for control characters (U+0000 to U+001F, U+007F,
// U+2028 and U+2029 as \u escapes, a byte that is no UTF-8 as \ufffd); numbers that are whole print without a
// fraction.
std::string WriteJson(const CJsonValue& value);
