#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

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

    const auto Chars = [](const std::uint8_t* p) { return std::string(reinterpret_cast<const char*>(p), 4); };
    EXPECT_EQ(std::make_tuple(0x0201, 0x0058, "ABCDEFGHIJKLMNOP", "FW1", "BL2", "C0DE", "B00T", 0x12345678u,
                              0xFFFFFFFFu, "4711", 0x01020304u, 0x0005, 0x0106, 0x8007),
              std::make_tuple(info.VendorId(), info.ProductId(), info.SerialNumber(), info.FirmwareVersion(),
                              info.BootLoaderVersion(), Chars(info.FirmwareChecksum()),
                              Chars(info.BootLoaderChecksum()), info.PhotoCounter1(), info.PhotoCounter2(),
                              Chars(info.HeadResistor()), info.InternalCounter1(), info.InternalCounter2(),
                              info.InternalCounter3(), info.InternalCounter4()));
}
