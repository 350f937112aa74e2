// The 78-byte device information record and the 8-byte log entry, filled
// verbatim from the printer's bytes and read with host-independent accessors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct DEVICE_INFO {
    static constexpr std::size_t kSize = 78;

    static constexpr std::size_t kOffVendorId = 4;
    static constexpr std::size_t kOffProductId = 6;
    static constexpr std::size_t kOffSerialNumber = 8;
    static constexpr std::size_t kOffFirmwareVersion = 24;
    static constexpr std::size_t kOffBootLoaderVersion = 32;
    static constexpr std::size_t kOffFirmwareChecksum = 40;
    static constexpr std::size_t kOffBootLoaderChecksum = 44;
    static constexpr std::size_t kOffPhotoCounter1 = 48;
    static constexpr std::size_t kOffPhotoCounter2 = 52;
    static constexpr std::size_t kOffHeadResistor = 56;
    static constexpr std::size_t kOffInternalCounter1 = 60;
    static constexpr std::size_t kOffInternalCounter2 = 64;
    static constexpr std::size_t kOffInternalCounter3 = 66;
    static constexpr std::size_t kOffInternalCounter4 = 68;

    std::uint8_t abData[kSize];

    std::uint16_t VendorId() const;
    std::uint16_t ProductId() const;
    std::string SerialNumber() const;      // 16 bytes, NUL-padded
    std::string FirmwareVersion() const;   // 8 bytes, NUL-padded
    std::string BootLoaderVersion() const; // 8 bytes, NUL-padded
    const std::uint8_t* FirmwareChecksum() const { return abData + kOffFirmwareChecksum; }     // 4 chars
    const std::uint8_t* BootLoaderChecksum() const { return abData + kOffBootLoaderChecksum; } // 4 chars
    std::uint32_t PhotoCounter1() const;
    std::uint32_t PhotoCounter2() const;
    const std::uint8_t* HeadResistor() const { return abData + kOffHeadResistor; } // 4 chars
    std::uint32_t InternalCounter1() const;
    std::uint16_t InternalCounter2() const;
    std::uint16_t InternalCounter3() const;
    std::uint16_t InternalCounter4() const;
};

struct DEVICE_LOG {
    static constexpr std::size_t kSize = 8;

    std::uint8_t abData[kSize];

    std::uint32_t Pages() const;
    std::uint16_t EventCode() const;
    std::uint16_t FlashValue() const;
};

static_assert(sizeof(DEVICE_INFO) == 78, "the information record is 78 bytes");
static_assert(sizeof(DEVICE_LOG) == 8, "a log entry is 8 bytes");
