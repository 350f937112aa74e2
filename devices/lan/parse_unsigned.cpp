#include "devices/lan/parse_unsigned.h"

namespace {

bool IsSpace(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// The digit's value in any base up to 16; 16 for a character that is no digit.
unsigned DigitValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return static_cast<unsigned>(ch - '0');
    if (ch >= 'a' && ch <= 'f')
        return static_cast<unsigned>(ch - 'a' + 10);
    if (ch >= 'A' && ch <= 'F')
        return static_cast<unsigned>(ch - 'A' + 10);
    return 16;
}

} // namespace

std::uint32_t ParseUnsigned(std::string_view text, unsigned nBase) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        bNegative = text[i] == '-';
        ++i;
    }
    std::uint32_t dwValue = 0;
    bool bOverflow = false;
    for (; i < text.size(); ++i) {
        const unsigned nDigit = DigitValue(text[i]);
        if (nDigit >= nBase)
            break;
        if (dwValue > (UINT32_MAX - nDigit) / nBase)
            bOverflow = true;
        else
            dwValue = dwValue * nBase + nDigit;
    }
    if (bOverflow)
        return UINT32_MAX;
    return bNegative ? 0u - dwValue : dwValue;
}
