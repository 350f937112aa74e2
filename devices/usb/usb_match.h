// Which USB devices belong to the family: the match rules of the two searches
// over the strings the device installation interfaces report for a device.
#pragma once

#include <cstdint>
#include <string>

// The family's USB vendor id and its product ids, in the order they are tried.
constexpr std::uint16_t kFamilyVendorId = 0x0E7A;
constexpr std::uint16_t kFamilyProductIds[] = {0x002A, 0x003B, 0x003C, 0x003D, 0x003E,
                                               0x003F, 0x0056, 0x0057, 0x0058};

// Upper-cases the text up to its first NUL, character by character (ASCII letters only).
void UpperCaseInPlace(char* pszText);

// Windows 2000 and later: the printer node below the device has an id, some
// product id's "VID_xxxx&PID_yyyy" occurs in the upper-cased first hardware
// id, and the upper-cased service contains "USBPRINT".
bool IsFamilyPrinter2K(const std::string& strHardwareId, const std::string& strService,
                       const std::string& strDeviceId);

// Windows 9x: some product id's "VID_xxxx&PID_yyyy" occurs in the upper-cased
// first hardware id and the description is exactly "USB Printing Support".
bool IsFamilyPrinter9x(const std::string& strHardwareId, const std::string& strDescription);
