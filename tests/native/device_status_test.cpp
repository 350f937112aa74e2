#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "monitor/device_status.h"
#include "monitor/status_change.h"
#include "tests/native/status_entries.h"

namespace {

using N = StatusNotification;

} // namespace

TEST(DeviceStatus, FieldsAtTheirOffsetsTheSignatureAndEqualityWithoutWifi) {
    // A record as a printer would send it, independently of the accessors under
    // test: vendor 0x1234, product 0x003F, a serial, a firmware version that fills
    // its field (no NUL), state 3, WiFi 2, phase 4, progress 57, code 0x80000201.
    static const char kWire[] = "NYRA\x34\x12\x3F\x00"
                                "SN-0042\0\0\0\0\0\0\0\0\0"
                                "V1.23.45\x03\x02\x04\x39\x01\x02\x00\x80\0\0\0";
    static_assert(sizeof(kWire) == 44, "one record and the literal's NUL");
    std::array<std::uint8_t, 44> bytes{};
    std::memcpy(bytes.data(), kWire, 44);
    const CDeviceStatus status(bytes.data());
    EXPECT_EQ(std::make_tuple(true, 0x1234, 0x003F, std::string("SN-0042"), std::string("V1.23.45"), 3, 2, 4,
                              57, 0x80000201u),
              std::make_tuple(status.IsValid(), status.GetVendorId(), status.GetProductId(),
                              status.GetSerialNumber(), status.GetFirmwareVersion(), status.GetDeviceState(),
                              status.GetWifiState(), status.GetPrintPhase(), status.GetProgress(),
                              status.GetStatusCode()));

    CDeviceStatus written = Record(3, 4, 57, 0x80000201, 2);
    written.SetSignature();
    written.SetVendorId(0x1234);
    written.SetProductId(0x003F);
    written.SetSerialNumber("SN-0042");
    written.SetFirmwareVersion("V1.23.45-too-long");
    EXPECT_EQ(0, std::memcmp(bytes.data(), written.Data(), 44));

    // Valid only with exactly "NYRA"; a new record is all zero.
    const CDeviceStatus empty;
    EXPECT_FALSE(empty.IsValid());
    EXPECT_EQ(0, std::memcmp(std::array<std::uint8_t, 44>{}.data(), empty.Data(), 44)) << "all zero";
    for (const char* signature : {"NYRa", "nyra", "AYRN", "NYR\0"}) {
        auto changed = bytes;
        std::memcpy(changed.data(), signature, 4);
        EXPECT_FALSE(CDeviceStatus(changed.data()).IsValid()) << signature;
    }
    // Records are equal whatever their WiFi bytes hold; any other byte makes them differ.
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i) {
        auto changed = bytes;
        changed[i] ^= 0x01;
        EXPECT_EQ(i == 33, status == CDeviceStatus(changed.data())) << "byte " << i;
    }
}

TEST(DeviceStatus, PrintingFollowsStateAndPhase) {
    struct Case {
        std::uint8_t state, phase;
        bool printing, flag;
    } const cases[] = {
        {3, 0, true, false},  {19, 0, true, true},  {19, 4, true, true},   {1, 0, false, false},
        {1, 1, false, false}, {1, 2, true, false},  {1, 3, false, false},  {1, 4, false, false},
        {1, 5, true, false},  {1, 6, true, false},  {1, 7, true, false},   {0, 2, false, false},
        {2, 5, false, false}, {4, 7, false, false}, {20, 6, false, false}, {1, 8, false, false},
    };
    for (const Case& c : cases) {
        const CDeviceStatus status = Record(c.state, c.phase, 0, 0);
        // The flag is written only when the answer is TRUE.
        bool flag = !c.flag;
        EXPECT_EQ(c.printing, status.IsPrinting(&flag)) << int(c.state) << "/" << int(c.phase);
        EXPECT_EQ(c.printing ? c.flag : !c.flag, flag) << int(c.state) << "/" << int(c.phase);
        EXPECT_EQ(c.printing, status.IsPrinting(nullptr));
    }
}

TEST(StatusChange, NotificationsInOrder) {
    struct Case {
        const char* what;
        CDeviceStatus previous;
        CDeviceStatus fresh;
        std::vector<N> expected;
    } const cases[] = {
        {"progress moved", Record(3, 2, 10, 0), Record(3, 2, 11, 0), {N::StatusChanged}},
        {"ready to printing", Record(1, 0, 0, 0), Record(3, 1, 0, 0), {N::PrintingStarted, N::StatusChanged}},
        {"printing to ready", Record(3, 6, 100, 0), Record(1, 0, 0, 0), {N::PrintingEnded, N::StatusChanged}},
        {"error raised", Record(1, 0, 0, 0), Record(1, 0, 0, 0x80000001), {N::ErrorRaised}},
        {"error cleared", Record(1, 0, 0, 0x40000004), Record(1, 0, 0, 0), {N::ErrorCleared}},
        {"error ends", Record(3, 4, 5, 0), Record(1, 4, 5, 0x80000004), {N::PrintingEnded, N::ErrorRaised}},
        {"another error code", Record(1, 0, 0, 0x80000001), Record(1, 0, 0, 0x80000004), {N::StatusChanged}},
        {"no error below the classes", Record(1, 0, 0, 0), Record(1, 0, 0, 0x07FFFFFF), {N::StatusChanged}},
        {"WiFi change while printing", Record(3, 0, 0, 0, 1), Record(3, 0, 0, 0, 2), {}},
    };
    for (const Case& c : cases) {
        const StatusChanges changes = ClassifyChange(c.previous, c.fresh);
        EXPECT_EQ(c.expected, std::vector<N>(changes.aItems, changes.aItems + changes.nCount)) << c.what;
    }
}
