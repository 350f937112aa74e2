// The shared-memory device on a port's status mapping: a missing, late,
// republished or unsigned status block, and Cancel and Resume through the
// port's console events. A job on the simulator's mapping is followed by the
// monitor road tests.
#include <gtest/gtest.h>

#include <cstring>

#include "devices/shared/vir_device.h"
#include "devices/usb/usb_device.h"
#include "framework/unique_view.h"
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
    DEVICE_INFO info;
    WORD wCount = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), device.ReadInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), device.GetNumberOfLogs(&wCount));

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

TEST(VirDevice, AnUnsignedBlockIsComparedWithTheNextSignedOne) {
    const std::string strPort = UniqueName("USB");
    CUniqueHandle hMapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                              ("NYRA_DEVICE_STATUS." + strPort).c_str()));
    ASSERT_TRUE(hMapping);
    CUniqueView view(MapViewOfFile(hMapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    CDeviceStatus printing;
    printing.SetDeviceState(kStatePrinting);
    printing.SetPrintPhase(1);
    std::memcpy(view.Get(), printing.Data(), CDeviceStatus::kSize); // no signature yet
    CRecordingNotify notify;
    CVirDevice device(&notify, "Kestrel U", strPort.c_str(), "USB");
    Sleep(600);
    EXPECT_TRUE(notify.Take().empty());
    // The unsigned printing record is the previous one: signing it changes
    // the record but not the printing state.
    printing.SetSignature();
    std::memcpy(view.Get(), printing.Data(), CDeviceStatus::kSize);
    std::vector<std::string> calls;
    WaitFor(
        [&] {
            calls = notify.Take();
            return !calls.empty();
        },
        2000);
    EXPECT_EQ(std::vector<std::string>{"StatusChanged"}, calls);
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
