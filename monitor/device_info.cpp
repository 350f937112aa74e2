#include "monitor/device_info.h"

#include "monitor/byte_order.h"
#include "monitor/device_status.h"

std::uint16_t DEVICE_INFO::VendorId() const { return LoadLE16(abData + kOffVendorId); }
std::uint16_t DEVICE_INFO::ProductId() const { return LoadLE16(abData + kOffProductId); }
std::string DEVICE_INFO::SerialNumber() const { return ReadTextField(abData + kOffSerialNumber, 16); }
std::string DEVICE_INFO::FirmwareVersion() const { return ReadTextField(abData + kOffFirmwareVersion, 8); }
std::string DEVICE_INFO::BootLoaderVersion() const { return ReadTextField(abData + kOffBootLoaderVersion, 8); }
std::uint32_t DEVICE_INFO::PhotoCounter1() const { return LoadLE32(abData + kOffPhotoCounter1); }
std::uint32_t DEVICE_INFO::PhotoCounter2() const { return LoadLE32(abData + kOffPhotoCounter2); }
std::uint32_t DEVICE_INFO::InternalCounter1() const { return LoadLE32(abData + kOffInternalCounter1); }
std::uint16_t DEVICE_INFO::InternalCounter2() const { return LoadLE16(abData + kOffInternalCounter2); }
std::uint16_t DEVICE_INFO::InternalCounter3() const { return LoadLE16(abData + kOffInternalCounter3); }
std::uint16_t DEVICE_INFO::InternalCounter4() const { return LoadLE16(abData + kOffInternalCounter4); }

std::uint32_t DEVICE_LOG::Pages() const { return LoadLE32(abData); }
std::uint16_t DEVICE_LOG::EventCode() const { return LoadLE16(abData + 4); }
std::uint16_t DEVICE_LOG::FlashValue() const { return LoadLE16(abData + 6); }
