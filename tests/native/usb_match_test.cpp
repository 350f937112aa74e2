#include <gtest/gtest.h>

#include <string>

#include "devices/usb/usb_match.h"

TEST(UsbMatch, UpperCasesAsciiLettersUpToTheFirstNul) {
    char szText[] = "usb\\vid_0e7a&pid_003c&rev_0100\0usbprint";
    UpperCaseInPlace(szText);
    EXPECT_STREQ("USB\\VID_0E7A&PID_003C&REV_0100", szText);
    EXPECT_STREQ("usbprint", szText + sizeof("usb\\vid_0e7a&pid_003c&rev_0100"));
}

TEST(UsbMatch, RulesOfTheTwoSearches) {
    const struct {
        const char* pszHardwareId;
        const char* pszServiceOrDescription;
        const char* pszDeviceId;
        bool b2K;
        bool b9x;
    } cases[] = {
        {"USB\\VID_0E7A&PID_002A&REV_0100", "USBPRINT", "USBPRINT\\X\\7&1&0&USB001", true, false},
        {"USB\\VID_0E7A&PID_002A", "USBPRINT", "", false, false}, // no device behind it
        {"USB\\VID_0E7A&PID_0058", "USB Printing Support", "X", false, true},
        {"USB\\VID_0E7A&PID_0040", "USBPRINT", "X", false, false},     // not a family product id
        {"USB\\VID_0E7B&PID_003C", "USBPRINT", "X", false, false},     // another vendor
        {"USB\\VID_0E7A&PID_003D", "MY_USBPRINTER", "X", true, false}, // the service contains USBPRINT
        {"USB\\VID_0E7A&PID_003D", "USB PRINTING SUPPORT", "X", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszHardwareId) + " " + c.pszServiceOrDescription);
        EXPECT_EQ(c.b2K, IsFamilyPrinter2K(c.pszHardwareId, c.pszServiceOrDescription, c.pszDeviceId));
        EXPECT_EQ(c.b9x, IsFamilyPrinter9x(c.pszHardwareId, c.pszServiceOrDescription));
    }
}
