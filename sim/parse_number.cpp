#include "sim/parse_number.h"

#include <cstddef>

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

NumberResult ParseNumber(const std::string& strText, std::uint32_t maxValue, std::uint32_t& value) {
    std::size_t pos = 0;
    int base = 10;
    if (strText.size() > 2 && strText[0] == '0' && (strText[1] == 'x' || strText[1] == 'X')) {
        pos = 2;
        base = 16;
    }
    if (pos == strText.size())
        return NumberResult::kNotANumber;
    std::uint64_t accumulated = 0;
    bool bTooLarge = false;
    for (; pos < strText.size(); ++pos) {
        const int digit = DigitValue(strText[pos], base);
        if (digit < 0)
            return NumberResult::kNotANumber;
        accumulated = accumulated * base + digit;
        if (accumulated > maxValue) {
            // Keeps the sum from overflowing while the remaining digits are still checked.
            bTooLarge = true;
            accumulated = maxValue;
        }
    }
    if (bTooLarge)
        return NumberResult::kOutOfRange;
    value = static_cast<std::uint32_t>(accumulated);
    return NumberResult::kOk;
}
