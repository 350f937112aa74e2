#include <gtest/gtest.h>

#include <cstring>

#include "monitor/device_info.h"

TEST(DeviceInfo, ReadsEveryFieldLittleEndian) {
    DEVICE_INFO info;
    std::uint8_t* b = info.abData;
    std::memset(b, 0xEE, sizeof(info.abData));
    b[4] = 0x01, b[5] = 0x02;                                 // vendor 0x0201
    b[6] = 0x58, b[7] = 0x00;                                 // product 0x0058
    std::memcpy(b + 8, "ABCDEFGHIJKLMNOP", 16);               // serial fills its field
    std::memcpy(b + 24, "FW1\0\0\0\0\0", 8);                  // firmware
    std::memcpy(b + 32, "BL2\0\0\0\0\0", 8);                  // boot loader
    std::memcpy(b + 40, "C0DE", 4);                           // firmware checksum
    std::memcpy(b + 44, "B00T", 4);                           // boot loader checksum
    b[48] = 0x78, b[49] = 0x56, b[50] = 0x34, b[51] = 0x12;   // counter 1
    b[52] = 0xFF, b[53] = 0xFF, b[54] = 0xFF, b[55] = 0xFF;   // counter 2
    std::memcpy(b + 56, "4711", 4);                           // head resistor
    b[60] = 0x04, b[61] = 0x03, b[62] = 0x02, b[63] = 0x01;   // internal counter parts
    b[64] = 0x05, b[65] = 0x00, b[66] = 0x06, b[67] = 0x01, b[68] = 0x07, b[69] = 0x80;

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
