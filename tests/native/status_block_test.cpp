#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/printpath/status_block.h"
#include "monitor/device_status.h"

TEST(StatusBlock, ABlockAtRestIsCopiedTwiceWhateverFollowsTheRecord) {
    // The print path writes only the record; what lies after it in the
    // mapping (here an odd word where a generation count might be) is not read.
    std::vector<std::uint8_t> block(4096, 0);
    CDeviceStatus status;
    status.SetSignature();
    status.SetProgress(42);
    std::memcpy(block.data(), status.Data(), CDeviceStatus::kSize);
    for (std::size_t i = CDeviceStatus::kSize; i < CDeviceStatus::kSize + 8; ++i)
        block[i] = static_cast<std::uint8_t>(0x5A + i);
    std::uint8_t copy[CDeviceStatus::kSize] = {};
    EXPECT_EQ(2, printpath::ReadStatusBlock(block.data(), copy));
    EXPECT_EQ(0, std::memcmp(copy, status.Data(), CDeviceStatus::kSize));
}
