// The 44-byte status record that every transport delivers, and the rules that
// read it: validity, error class, printing, equality.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/printpath/status_block.h"

// Error classes: bits 31 to 27 of the status code, highest first.
constexpr std::uint32_t kErrorClassPrinter = 0x80000000;
constexpr std::uint32_t kErrorClassConsumable = 0x40000000;
constexpr std::uint32_t kErrorClassSystem = 0x20000000;
constexpr std::uint32_t kErrorClassFile = 0x10000000;
constexpr std::uint32_t kErrorClassWireless = 0x08000000;
constexpr std::uint32_t kErrorClassMask = 0xF8000000;
// What callers preset the class to before asking IsError: "unknown class".
constexpr std::uint32_t kErrorClassUnknown = 0xF8000000;

// Device states (byte 32) that the agent names.
enum DeviceState : std::uint8_t {
    kStateInitialising = 0,
    kStateReady = 1,
    kStateBusy = 2,
    kStatePrinting = 3,
    kStateInitialising4 = 4,
    kStateInitialising5 = 5,
    kStatePrintingFlagged = 19,
    kStateInitialising20 = 20,
    kStateInitialising21 = 21,
};

// Print phases (byte 34).
enum PrintPhase : std::uint8_t {
    kPhaseNone = 0,
    kPhaseFeedIn = 1,
    kPhaseCyan = 2,
    kPhaseMagenta = 3,
    kPhaseYellow = 4,
    kPhaseCoating = 5,
    kPhaseFeedOut = 6,
    kPhaseWaiting = 7,
};

class CDeviceStatus {
public:
    static constexpr std::size_t kSize = printpath::kStatusRecordSize;

    // Byte offsets of the fields in the record.
    static constexpr std::size_t kOffSignature = 0;
    static constexpr std::size_t kOffVendorId = 4;
    static constexpr std::size_t kOffProductId = 6;
    static constexpr std::size_t kOffSerialNumber = 8;
    static constexpr std::size_t kSerialNumberSize = 16;
    static constexpr std::size_t kOffFirmwareVersion = 24;
    static constexpr std::size_t kFirmwareVersionSize = 8;
    static constexpr std::size_t kOffDeviceState = 32;
    static constexpr std::size_t kOffWifiState = 33;
    static constexpr std::size_t kOffPrintPhase = 34;
    static constexpr std::size_t kOffProgress = 35;
    static constexpr std::size_t kOffStatusCode = 36;
    // Bytes 40 to 43 are reserved: carried and compared, never interpreted.

    CDeviceStatus();
    explicit CDeviceStatus(const std::uint8_t* pBytes);
    CDeviceStatus(const CDeviceStatus&) = default;
    CDeviceStatus& operator=(const CDeviceStatus&) = default;
    virtual ~CDeviceStatus() = default;

    const std::uint8_t* Data() const { return m_abData; }
    std::uint8_t* Data() { return m_abData; }
    // Replaces the record with the 44 bytes at pBytes.
    void Assign(const std::uint8_t* pBytes);

    bool IsValid() const;
    // Error exactly when the status code is above 0x07FFFFFF; the class (if
    // asked for) receives the highest class bit set. Not written otherwise.
    bool IsError(std::uint32_t* pdwClass) const;
    // A job is in progress; the flag (if asked for) tells device state 19.
    bool IsPrinting(bool* pbFlag) const;

    std::uint16_t GetVendorId() const;
    std::uint16_t GetProductId() const;
    std::string GetSerialNumber() const;
    std::string GetFirmwareVersion() const;
    std::uint8_t GetDeviceState() const { return m_abData[kOffDeviceState]; }
    std::uint8_t GetWifiState() const { return m_abData[kOffWifiState]; }
    std::uint8_t GetPrintPhase() const { return m_abData[kOffPrintPhase]; }
    std::uint8_t GetProgress() const { return m_abData[kOffProgress]; }
    std::uint32_t GetStatusCode() const;

    void SetSignature();
    void SetVendorId(std::uint16_t wVendorId);
    void SetProductId(std::uint16_t wProductId);
    void SetSerialNumber(const std::string& strSerial);
    void SetFirmwareVersion(const std::string& strVersion);
    void SetDeviceState(std::uint8_t bState) { m_abData[kOffDeviceState] = bState; }
    void SetWifiState(std::uint8_t bState) { m_abData[kOffWifiState] = bState; }
    void SetPrintPhase(std::uint8_t bPhase) { m_abData[kOffPrintPhase] = bPhase; }
    void SetProgress(std::uint8_t bProgress) { m_abData[kOffProgress] = bProgress; }
    void SetStatusCode(std::uint32_t dwCode);

    // Equal when all bytes but the WiFi dongle state (byte 33) are equal.
    bool operator==(const CDeviceStatus& other) const;
    bool operator!=(const CDeviceStatus& other) const { return !(*this == other); }

private:
    std::uint8_t m_abData[kSize];
};

// Error classification of a bare status code, as IsError does on a record.
bool IsErrorCode(std::uint32_t dwCode, std::uint32_t* pdwClass);
// TRUE when only the resumable detail bits (paper out, ribbon faults, paper
// jam, ribbon jammed, ribbon not installed correctly, ribbon over) are set.
bool IsResumableError(std::uint32_t dwCode);

// Reads a NUL-padded single-byte text field of at most nSize bytes.
std::string ReadTextField(const std::uint8_t* p, std::size_t nSize);
