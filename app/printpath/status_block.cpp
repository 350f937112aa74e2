#include "app/printpath/status_block.h"

#include <cstring>

#include "monitor/device_status.h"

namespace printpath {

namespace {

void CopyIn(std::uint8_t* pRecord, const volatile std::uint8_t* pBlock) {
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i)
        pRecord[i] = pBlock[i];
}

} // namespace

int ReadStatusBlock(const volatile std::uint8_t* pBlock, std::uint8_t* pRecord) {
    std::uint8_t abPrevious[CDeviceStatus::kSize];
    CopyIn(abPrevious, pBlock);
    int nCopies = 1;
    for (;;) {
        CopyIn(pRecord, pBlock);
        ++nCopies;
        if (nCopies == kStatusBlockMaxCopies || std::memcmp(abPrevious, pRecord, CDeviceStatus::kSize) == 0)
            return nCopies;
        std::memcpy(abPrevious, pRecord, CDeviceStatus::kSize);
    }
}

} // namespace printpath
