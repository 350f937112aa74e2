#include "devices/usb/usb_match.h"

#include <cstdio>

namespace {

bool HasFamilyProductId(const std::string& strHardwareId) {
    for (std::uint16_t wProductId : kFamilyProductIds) {
        char szId[32];
        std::snprintf(szId, sizeof(szId), "VID_%04X&PID_%04X", static_cast<unsigned>(kFamilyVendorId),
                      static_cast<unsigned>(wProductId));
        if (strHardwareId.find(szId) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

void UpperCaseInPlace(char* pszText) {
    for (char* p = pszText; *p; ++p) {
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
    }
}

bool IsFamilyPrinter2K(const std::string& strHardwareId, const std::string& strService,
                       const std::string& strDeviceId) {
    return !strDeviceId.empty() && HasFamilyProductId(strHardwareId) &&
           strService.find("USBPRINT") != std::string::npos;
}

bool IsFamilyPrinter9x(const std::string& strHardwareId, const std::string& strDescription) {
    return HasFamilyProductId(strHardwareId) && strDescription == "USB Printing Support";
}
