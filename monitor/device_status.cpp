#include "monitor/device_status.h"

#include <cstring>

#include "monitor/byte_order.h"

CDeviceStatus::CDeviceStatus() : m_abData() {
    static_assert(sizeof(m_abData) == 44, "the status record is 44 bytes");
}

CDeviceStatus::CDeviceStatus(const std::uint8_t* pBytes) { Assign(pBytes); }

void CDeviceStatus::Assign(const std::uint8_t* pBytes) { std::memcpy(m_abData, pBytes, kSize); }

bool CDeviceStatus::IsValid() const {
    return m_abData[0] == 'N' && m_abData[1] == 'Y' && m_abData[2] == 'R' && m_abData[3] == 'A';
}

bool CDeviceStatus::IsError(std::uint32_t* pdwClass) const { return IsErrorCode(GetStatusCode(), pdwClass); }

bool CDeviceStatus::IsPrinting(bool* pbFlag) const {
    const std::uint8_t state = GetDeviceState();
    const std::uint8_t phase = GetPrintPhase();
    bool printing = state == kStatePrinting || state == kStatePrintingFlagged;
    if (!printing && state == kStateReady)
        printing = phase == kPhaseCyan || phase == kPhaseCoating || phase == kPhaseFeedOut || phase == kPhaseWaiting;
    if (printing && pbFlag)
        *pbFlag = state == kStatePrintingFlagged;
    return printing;
}

std::uint16_t CDeviceStatus::GetVendorId() const { return LoadLE16(m_abData + kOffVendorId); }
std::uint16_t CDeviceStatus::GetProductId() const { return LoadLE16(m_abData + kOffProductId); }
std::uint32_t CDeviceStatus::GetStatusCode() const { return LoadLE32(m_abData + kOffStatusCode); }

std::string CDeviceStatus::GetSerialNumber() const {
    return ReadTextField(m_abData + kOffSerialNumber, kSerialNumberSize);
}

std::string CDeviceStatus::GetFirmwareVersion() const {
    return ReadTextField(m_abData + kOffFirmwareVersion, kFirmwareVersionSize);
}

void CDeviceStatus::SetSignature() { std::memcpy(m_abData + kOffSignature, "NYRA", 4); }
void CDeviceStatus::SetVendorId(std::uint16_t wVendorId) { StoreLE16(m_abData + kOffVendorId, wVendorId); }
void CDeviceStatus::SetProductId(std::uint16_t wProductId) { StoreLE16(m_abData + kOffProductId, wProductId); }
void CDeviceStatus::SetStatusCode(std::uint32_t dwCode) { StoreLE32(m_abData + kOffStatusCode, dwCode); }

static void WriteTextField(std::uint8_t* p, std::size_t nSize, const std::string& text) {
    std::memset(p, 0, nSize);
    std::memcpy(p, text.data(), text.size() < nSize ? text.size() : nSize);
}

void CDeviceStatus::SetSerialNumber(const std::string& strSerial) {
    WriteTextField(m_abData + kOffSerialNumber, kSerialNumberSize, strSerial);
}

void CDeviceStatus::SetFirmwareVersion(const std::string& strVersion) {
    WriteTextField(m_abData + kOffFirmwareVersion, kFirmwareVersionSize, strVersion);
}

bool CDeviceStatus::operator==(const CDeviceStatus& other) const {
    return std::memcmp(m_abData, other.m_abData, kOffWifiState) == 0 &&
           std::memcmp(m_abData + kOffWifiState + 1, other.m_abData + kOffWifiState + 1,
                       kSize - kOffWifiState - 1) == 0;
}

bool IsErrorCode(std::uint32_t dwCode, std::uint32_t* pdwClass) {
    if (dwCode <= 0x07FFFFFF)
        return false;
    if (pdwClass) {
        static const std::uint32_t kClasses[] = {kErrorClassPrinter, kErrorClassConsumable, kErrorClassSystem,
                                                 kErrorClassFile, kErrorClassWireless};
        for (std::uint32_t errorClass : kClasses) {
            if (dwCode & errorClass) {
                *pdwClass = errorClass;
                break;
            }
        }
    }
    return true;
}

bool IsResumableError(std::uint32_t dwCode) { return (dwCode & 0x7FFFFFFF) != 0 && (dwCode & 0x7FFFFCE0) == 0; }

std::string ReadTextField(const std::uint8_t* p, std::size_t nSize) {
    std::size_t length = 0;
    while (length < nSize && p[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(p), length);
}
