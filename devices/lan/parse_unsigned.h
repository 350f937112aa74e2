// Text to number the way the C library's strtoul reads it where unsigned long
// has 32 bits, bounded by the text's length instead of a terminating NUL.
#pragma once

#include <cstdint>
#include <string_view>

// Skips leading white space, takes an optional sign, then reads digits up to
// the first character that is not one. No digits give 0, a value beyond 32
// bits gives 0xFFFFFFFF, and a minus sign negates the value modulo 2^32.
// nBase is 10 or 16. Unlike strtoul, base 16 takes no "0x" prefix: the agent
// reads hexadecimal only in pairs of digits, where a prefix reads as 0 anyway.
std::uint32_t ParseUnsigned(std::string_view text, unsigned nBase);
