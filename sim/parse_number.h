// Unsigned numbers as scripts and command lines write them: decimal, or
// hexadecimal after "0x".
#pragma once

#include <cstdint>
#include <string>

enum class NumberResult { kOk, kNotANumber, kOutOfRange };

// Reads the whole text as a number of at most maxValue; value is written only
// on success. Signs, blanks and any other character make it not a number.
NumberResult ParseNumber(const std::string& strText, std::uint32_t maxValue, std::uint32_t& value);
