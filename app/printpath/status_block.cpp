#include "app/printpath/status_block.h"

#include <cstring>

namespace printpath {

namespace {

void CopyIn(std::uint8_t* pRecord, const volatile std::uint8_t* pBlock) {
    for (std::size_t i = 0; i < kStatusRecordSize; ++i)
        pRecord[i] = pBlock[i];
}

} // namespace

int ReadStatusBlock(const volatile std::uint8_t* pBlock, std::uint8_t* pRecord) {
    std::uint8_t abPrevious[kStatusRecordSize];
    CopyIn(abPrevious, pBlock);
    int nCopies = 1;
    for (;;) {
        CopyIn(pRecord, pBlock);
        ++nCopies;
        if (nCopies == kStatusBlockMaxCopies || std::memcmp(abPrevious, pRecord, kStatusRecordSize) == 0)
            return nCopies;
        std::memcpy(abPrevious, pRecord, kStatusRecordSize);
    }
}

} // namespace printpath
