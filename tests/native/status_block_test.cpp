#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "app/printpath/printpath_names.h"
#include "devices/printpath/status_block.h"

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

TEST(StatusBlock, WrittenRecordReadsBack) {
    std::vector<std::uint8_t> block(printpath::kStatusMappingSize, 0);
    CDeviceStatus status;
    status.SetSignature();
    status.SetProgress(42);
    printpath::WriteStatusBlock(block.data(), status.Data());
    EXPECT_EQ(0, std::memcmp(block.data(), status.Data(), CDeviceStatus::kSize));
    std::uint8_t copy[CDeviceStatus::kSize] = {};
    ASSERT_TRUE(printpath::ReadStatusBlock(block.data(), copy));
    EXPECT_EQ(0, std::memcmp(copy, status.Data(), CDeviceStatus::kSize));
}

TEST(StatusBlock, ReaderGivesUpWhileAWriteStaysOpen) {
    std::vector<std::uint8_t> block(printpath::kStatusMappingSize, 0);
    block[printpath::kStatusBlockGenerationOffset] = 1; // a publisher stopped mid-write
    std::uint8_t copy[CDeviceStatus::kSize];
    EXPECT_FALSE(printpath::ReadStatusBlock(block.data(), copy, 5));
}

TEST(StatusBlock, ReaderNeverSeesAMixOfTwoRecords) {
    // The writer alternates two records whose every byte differs; a torn copy
    // would mix bytes of both.
    std::vector<std::uint8_t> block(printpath::kStatusMappingSize, 0);
    std::uint8_t first[CDeviceStatus::kSize];
    std::uint8_t second[CDeviceStatus::kSize];
    std::memset(first, 0x11, sizeof(first));
    std::memset(second, 0x22, sizeof(second));
    printpath::WriteStatusBlock(block.data(), first);

    std::atomic<bool> stop(false);
    std::thread writer([&] {
        for (int i = 0; !stop; ++i)
            printpath::WriteStatusBlock(block.data(), (i & 1) ? first : second);
    });
    int torn = 0;
    for (int i = 0; i < 20000; ++i) {
        std::uint8_t copy[CDeviceStatus::kSize];
        if (!printpath::ReadStatusBlock(block.data(), copy))
            continue;
        if (std::memcmp(copy, first, sizeof(copy)) != 0 && std::memcmp(copy, second, sizeof(copy)) != 0)
            ++torn;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(0, torn);
}
