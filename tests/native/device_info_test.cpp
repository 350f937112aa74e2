#include <gtest/gtest.h>

#include <cstring>

#include "monitor/device_info.h"

TEST(DeviceInfo, ReadsEveryFieldLittleEndian) {
    // The record as the printer sends it: vendor 0x0201, product 0x0058, a
    // serial that fills its field, firmware and boot loader, their checksums,
    // two photo counters, the head resistor, the internal counters.
    const char achWire[] = "\xEE\xEE\xEE\xEE\x01\x02\x58\x00"
                           "ABCDEFGHIJKLMNOPFW1\0\0\0\0\0BL2\0\0\0\0\0C0DEB00T"
                           "\x78\x56\x34\x12\xFF\xFF\xFF\xFF"
                           "4711\x04\x03\x02\x01\x05\x00\x06\x01\x07\x80\xEE\xEE\xEE\xEE\xEE\xEE\xEE\xEE";
    static_assert(sizeof(achWire) == DEVICE_INFO::kSize + 1, "one record");
    DEVICE_INFO info;
    std::memcpy(info.abData, achWire, DEVICE_INFO::kSize);

    EXPECT_EQ(0x0201, info.VendorId());
    EXPECT_EQ(0x0058, info.ProductId());
    EXPECT_EQ("ABCDEFGHIJKLMNOP", info.SerialNumber());
    EXPECT_EQ("FW1", info.FirmwareVersion());
    EXPECT_EQ("BL2", info.BootLoaderVersion());
    EXPECT_EQ(0, std::memcmp(info.FirmwareChecksum(), "C0DE", 4));
    EXPECT_EQ(0, std::memcmp(info.BootLoaderChecksum(), "B00T", 4));
    EXPECT_EQ(0x12345678u, info.PhotoCounter1());
    EXPECT_EQ(0xFFFFFFFFu, info.PhotoCounter2());
    EXPECT_EQ(0, std::memcmp(info.HeadResistor(), "4711", 4));
    EXPECT_EQ(0x01020304u, info.InternalCounter1());
    EXPECT_EQ(0x0005, info.InternalCounter2());
    EXPECT_EQ(0x0106, info.InternalCounter3());
    EXPECT_EQ(0x8007, info.InternalCounter4());
}

TEST(DeviceLog, ReadsPagesEventAndFlash) {
    const DEVICE_LOG log = {{0x10, 0x27, 0x00, 0x01, 0x34, 0x12, 0xCD, 0xAB}};
    EXPECT_EQ(0x01002710u, log.Pages());
    EXPECT_EQ(0x1234, log.EventCode());
    EXPECT_EQ(0xABCD, log.FlashValue());
}
