// The Windows error codes that the platform-free half of the PJL exchange
// returns. They carry the values of their winerror.h namesakes, so the Win32
// layer passes them up unchanged.
#pragma once

#include <cstdint>

// ERROR_INVALID_DATA: the reply lacks the echo line, the reply key or the
// double quote behind the key.
constexpr std::uint32_t kErrorInvalidData = 13;
// ERROR_MORE_DATA: the reply does not fit in the reply buffer.
constexpr std::uint32_t kErrorMoreData = 234;
