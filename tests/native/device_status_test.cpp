#include <gtest/gtest.h>

#include <cstring>

#include "monitor/device_status.h"
#include "monitor/models.h"

namespace {

// A record as a printer would send it, built byte by byte, independently of
// the accessors under test.
std::array<std::uint8_t, 44> WireRecord() {
    std::array<std::uint8_t, 44> bytes{};
    std::memcpy(bytes.data(), "NYRA", 4);
    bytes[4] = 0x34; // vendor id 0x1234
    bytes[5] = 0x12;
    bytes[6] = 0x3F; // product id 0x003F
    bytes[7] = 0x00;
    std::memcpy(bytes.data() + 8, "SN-0042", 7);
    std::memcpy(bytes.data() + 24, "V1.23.45", 8); // fills the field, no NUL
    bytes[32] = 3;
    bytes[33] = 2;
    bytes[34] = 4;
    bytes[35] = 57;
    bytes[36] = 0x01; // status code 0x80000201
    bytes[37] = 0x02;
    bytes[38] = 0x00;
    bytes[39] = 0x80;
    return bytes;
}

} // namespace

TEST(DeviceStatus, ReadsEveryFieldAtItsOffset) {
    const auto bytes = WireRecord();
    const CDeviceStatus status(bytes.data());
    EXPECT_TRUE(status.IsValid());
    EXPECT_EQ(0x1234, status.GetVendorId());
    EXPECT_EQ(0x003F, status.GetProductId());
    EXPECT_EQ("SN-0042", status.GetSerialNumber());
    EXPECT_EQ("V1.23.45", status.GetFirmwareVersion());
    EXPECT_EQ(3, status.GetDeviceState());
    EXPECT_EQ(2, status.GetWifiState());
    EXPECT_EQ(4, status.GetPrintPhase());
    EXPECT_EQ(57, status.GetProgress());
    EXPECT_EQ(0x80000201u, status.GetStatusCode());
}

TEST(DeviceStatus, SettersWriteTheWireImage) {
    CDeviceStatus status;
    status.SetSignature();
    status.SetVendorId(0x1234);
    status.SetProductId(0x003F);
    status.SetSerialNumber("SN-0042");
    status.SetFirmwareVersion("V1.23.45-too-long");
    status.SetDeviceState(3);
    status.SetWifiState(2);
    status.SetPrintPhase(4);
    status.SetProgress(57);
    status.SetStatusCode(0x80000201);
    const auto expected = WireRecord();
    EXPECT_EQ(0, std::memcmp(expected.data(), status.Data(), 44));
}

TEST(DeviceStatus, DefaultIsAllZeroAndInvalid) {
    const CDeviceStatus status;
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i)
        EXPECT_EQ(0, status.Data()[i]) << "byte " << i;
    EXPECT_FALSE(status.IsValid());
}

TEST(DeviceStatus, SignatureMustBeExactlyNYRA) {
    for (const char* signature : {"NYRa", "nyra", "AYRN", "NYR\0"}) {
        auto bytes = WireRecord();
        std::memcpy(bytes.data(), signature, 4);
        EXPECT_FALSE(CDeviceStatus(bytes.data()).IsValid()) << signature;
    }
}

TEST(DeviceStatus, ErrorClassIsTheHighestBitSet) {
    struct Case {
        std::uint32_t code;
        bool error;
        std::uint32_t errorClass;
    } const cases[] = {
        {0x00000000, false, kErrorClassUnknown},
        {0x07FFFFFF, false, kErrorClassUnknown},
        {0x08000000, true, kErrorClassWireless},
        {0x10000001, true, kErrorClassFile},
        {0x20000000, true, kErrorClassSystem},
        {0x40000004, true, kErrorClassConsumable},
        {0x80000000, true, kErrorClassPrinter},
        {0x88000000, true, kErrorClassPrinter},
        {0x48000000, true, kErrorClassConsumable},
        {0x30000000, true, kErrorClassSystem},
        {0x18000000, true, kErrorClassFile},
        {0xFFFFFFFF, true, kErrorClassPrinter},
    };
    for (const Case& c : cases) {
        CDeviceStatus status;
        status.SetStatusCode(c.code);
        std::uint32_t errorClass = kErrorClassUnknown;
        EXPECT_EQ(c.error, status.IsError(&errorClass)) << std::hex << c.code;
        EXPECT_EQ(c.errorClass, errorClass) << std::hex << c.code;
        EXPECT_EQ(c.error, status.IsError(nullptr)) << std::hex << c.code;
    }
}

TEST(DeviceStatus, PrintingFollowsStateAndPhase) {
    struct Case {
        std::uint8_t state;
        std::uint8_t phase;
        bool printing;
        bool flag;
    } const cases[] = {
        {3, 0, true, false},  {19, 0, true, true},  {19, 4, true, true},  {1, 0, false, false},
        {1, 1, false, false}, {1, 2, true, false},  {1, 3, false, false}, {1, 4, false, false},
        {1, 5, true, false},  {1, 6, true, false},  {1, 7, true, false},  {0, 2, false, false},
        {2, 5, false, false}, {4, 7, false, false}, {20, 6, false, false}, {1, 8, false, false},
    };
    for (const Case& c : cases) {
        CDeviceStatus status;
        status.SetDeviceState(c.state);
        status.SetPrintPhase(c.phase);
        bool flag = true;
        if (!c.printing) {
            // The flag is not written when the answer is FALSE.
            EXPECT_FALSE(status.IsPrinting(&flag)) << int(c.state) << "/" << int(c.phase);
            EXPECT_TRUE(flag);
            continue;
        }
        flag = !c.flag;
        EXPECT_TRUE(status.IsPrinting(&flag)) << int(c.state) << "/" << int(c.phase);
        EXPECT_EQ(c.flag, flag) << int(c.state) << "/" << int(c.phase);
        EXPECT_TRUE(status.IsPrinting(nullptr));
    }
}

TEST(DeviceStatus, EqualityIgnoresOnlyTheWifiByte) {
    const auto bytes = WireRecord();
    const CDeviceStatus reference(bytes.data());
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i) {
        auto changed = bytes;
        changed[i] ^= 0x01;
        const CDeviceStatus other(changed.data());
        if (i == CDeviceStatus::kOffWifiState)
            EXPECT_EQ(reference, other) << "byte " << i;
        else
            EXPECT_NE(reference, other) << "byte " << i;
    }
}

TEST(DeviceStatus, ResumableErrors) {
    struct Case {
        std::uint32_t code;
        bool resumable;
    } const cases[] = {
        {0x80000001, true},  {0x80000002, true},  {0x80000004, true},  {0x80000008, true},
        {0x80000010, true},  {0x80000100, true},  {0x80000200, true},  {0x8000031F, true},
        {0x80000000, false}, {0x80000020, false}, {0x80000040, false}, {0x80000080, false},
        {0x80000400, false}, {0x80000101, true},  {0x80000021, false}, {0x40000001, false},
        {0x08000001, false}, {0x00000001, true},  {0x00000000, false}, {0xC0000001, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.resumable, IsResumableError(c.code)) << std::hex << c.code;
}

TEST(Models, NamesAndKestrelFamily) {
    struct Case {
        std::uint16_t id;
        const char* name;
        bool kestrel;
    } const cases[] = {
        {0x2A, "Brindle Model J", false}, {0x3B, "Brindle Model H", false}, {0x3C, "Kestrel Model F", true},
        {0x3D, "Kestrel Model E", true},  {0x3E, "Brindle Model G", false}, {0x3F, "Kestrel Model D", true},
        {0x56, "Kestrel Model C", true},  {0x57, "Kestrel Model B", true},  {0x58, "Kestrel Model A", true},
        {0x0000, "???", false},           {0x3A, "???", false},             {0x59, "???", false},
        {0x563C, "???", false},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.name, GetModelName(c.id)) << c.id;
        EXPECT_EQ(c.kestrel, IsKestrelProductId(c.id)) << c.id;
    }
}
