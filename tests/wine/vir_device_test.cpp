// The shared-memory device on a port's status mapping: a missing, late or
// republished status block (an unsigned one: the device tests), and Cancel
// and Resume through the port's console events. A job on the simulator's mapping is followed by the
// monitor road tests.
#include <gtest/gtest.h>

#include "devices/shared/vir_device.h"
#include "devices/usb/usb_device.h"
#include "sim/port_publisher.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/test_printer.h"

TEST(VirDevice, WithoutTheMappingTheDefaultRecordStaysAndTheConsoleAnswers) {
    const std::string strPort = UniqueName("USB");
    CRecordingNotify notify;
    CTraceCapture trace;
    CVirDevice device(&notify, "Kestrel U", strPort.c_str(), "USB");
    CDeviceStatus status;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), device.ReadStatus(&status));
    // Each read looks for the block again; its absence is told once.
    EXPECT_EQ(1, trace.Count("CNyDevice::CNyDevice() : OpenFileMapping() failed. GetLastError() = 2\n"));
    EXPECT_EQ(0, trace.Count("CVirDevice::CVirDevice() : Start() failed. GetLastError() = 2\n"));
    EXPECT_EQ(0x2A, device.GetProductId());
    EXPECT_EQ(1, device.GetDeviceState());

    // Cancel and Resume each signal their own event of the port's console.
    const std::string strConsole = "Global\\KORVA.Nylm.Console." + strPort;
    CUniqueHandle hCancel(OpenEventA(SYNCHRONIZE, FALSE, (strConsole + ".Cancel").c_str()));
    CUniqueHandle hResume(OpenEventA(SYNCHRONIZE, FALSE, (strConsole + ".Resume").c_str()));
    EXPECT_EQ(0u, device.OnCancel());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hCancel.Get(), 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hResume.Get(), 0));
    EXPECT_EQ(0u, device.OnResume());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hResume.Get(), 0));
}

// The print path publishes the block only after the device started, or its
// publisher is restarted while the device still holds the block: either way
// the polling device follows the new publisher.
TEST(VirDevice, FollowsABlockPublishedLateOrByARestartedPublisher) {
    const auto record = [](std::uint8_t phase) {
        CDeviceStatus status;
        CUsbDevice::FillDefaultStatus(&status);
        status.SetDeviceState(kStatePrinting);
        status.SetPrintPhase(phase);
        return status;
    };
    const std::string strPort = UniqueName("USB");
    CRecordingNotify notify;
    CVirDevice device(&notify, "Kestrel U", strPort.c_str(), "USB");
    for (const std::uint8_t phase : {2, 4}) {
        SCOPED_TRACE(phase);
        CPortPublisher publisher(strPort);
        ASSERT_EQ(0u, publisher.Open());
        ASSERT_EQ(0u, publisher.Publish(record(phase), 5000));
        EXPECT_TRUE(WaitFor([&] { return device.GetPrintPhase() == phase; }, 5000));
    }
    EXPECT_EQ((std::vector<std::string>{"PrintingStarted", "StatusChanged", "StatusChanged"}), notify.Take());
}
