#include <gtest/gtest.h>

#include <vector>

#include "monitor/status_change.h"

namespace {

using N = StatusNotification;

CDeviceStatus Record(std::uint8_t state, std::uint8_t phase, std::uint8_t progress, std::uint32_t code,
                     std::uint8_t wifi = 0) {
    CDeviceStatus status;
    status.SetSignature();
    status.SetProductId(0x3F);
    status.SetDeviceState(state);
    status.SetPrintPhase(phase);
    status.SetProgress(progress);
    status.SetStatusCode(code);
    status.SetWifiState(wifi);
    return status;
}

std::vector<N> Classify(const CDeviceStatus& previous, const CDeviceStatus& fresh) {
    const StatusChanges changes = ClassifyChange(previous, fresh);
    return std::vector<N>(changes.aItems, changes.aItems + changes.nCount);
}

} // namespace

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
        {"error stops the job",
         Record(3, 4, 50, 0),
         Record(1, 4, 50, 0x80000004),
         {N::PrintingEnded, N::ErrorRaised}},
        {"another error code", Record(1, 0, 0, 0x80000001), Record(1, 0, 0, 0x80000004), {N::StatusChanged}},
        {"no error below the classes", Record(1, 0, 0, 0), Record(1, 0, 0, 0x07FFFFFF), {N::StatusChanged}},
        {"ready but still finishing a sheet", Record(3, 5, 90, 0), Record(1, 6, 0, 0), {N::StatusChanged}},
        {"state 19 prints", Record(1, 0, 0, 0), Record(19, 0, 0, 0), {N::PrintingStarted, N::StatusChanged}},
        {"WiFi change while printing", Record(3, 0, 0, 0, 1), Record(3, 0, 0, 0, 2), {}},
        {"printing starts with an error",
         Record(0, 0, 0, 0),
         Record(3, 0, 0, 0x20000000),
         {N::PrintingStarted, N::ErrorRaised}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Classify(c.previous, c.fresh)) << c.what;
}
