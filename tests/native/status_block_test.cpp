#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/printpath/printpath_names.h"
#include "app/printpath/status_block.h"
#include "monitor/device_status.h"

TEST(PrintPathNames, GlobalAndLocalForms) {
    EXPECT_EQ("Global\\KORVA.Nylm.Status.NET1.Mutex", printpath::StatusMutexName("NET1", true));
    EXPECT_EQ("KORVA.Nylm.Status.NET1.Mutex", printpath::StatusMutexName("NET1", false));
    EXPECT_EQ("KORVA.Nylm.Status.USB001.Mutex", printpath::UsbStatusMutexName("USB001"));
    EXPECT_EQ("Global\\KORVA.Nylm.Console.USB001.Cancel", printpath::CancelEventName("USB001", true));
    EXPECT_EQ("KORVA.Nylm.Console.USB001.Cancel", printpath::CancelEventName("USB001", false));
    EXPECT_EQ("Global\\KORVA.Nylm.Console.USB001.Resume", printpath::ResumeEventName("USB001", true));
    EXPECT_EQ("KORVA.Nylm.Console.USB001.Resume", printpath::ResumeEventName("USB001", false));
    EXPECT_EQ("Global\\NYRA_DEVICE_STATUS.IP_10.0.0.5", printpath::StatusMappingName("IP_10.0.0.5", true));
    EXPECT_EQ("NYRA_DEVICE_STATUS.IP_10.0.0.5", printpath::StatusMappingName("IP_10.0.0.5", false));
    EXPECT_EQ("NYRA_DEVICE_STATUS.USB002", printpath::LocalStatusMappingName("USB002"));
}

TEST(StatusBlock, ABlockAtRestIsCopiedTwiceWhateverFollowsTheRecord) {
    // The print path writes only the record; what lies after it in the
    // mapping (here an odd word where a generation count might be) is not read.
    std::vector<std::uint8_t> block(4096, 0);
    CDeviceStatus status;
    status.SetSignature();
    status.SetProgress(42);
    std::memcpy(block.data(), status.Data(), CDeviceStatus::kSize);
    for (std::size_t i = CDeviceStatus::kSize; i < CDeviceStatus::kSize + 8; ++i)
        block[i] = static_cast<std::uint8_t>(0x5A + i);
    std::uint8_t copy[CDeviceStatus::kSize] = {};
    EXPECT_EQ(2, printpath::ReadStatusBlock(block.data(), copy));
    EXPECT_EQ(0, std::memcmp(copy, status.Data(), CDeviceStatus::kSize));
}
