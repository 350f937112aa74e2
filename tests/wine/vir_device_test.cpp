// The shared-memory device on the simulator's real status mapping: a job
// followed by its notifications, Cancel and Resume through the console, and a
// missing or unsigned status block.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "devices/shared/vir_device.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_printer.h"

namespace {

// NySim.exe publishing one USB port's status mapping for the length of a test.
class CPrintPath {
public:
    explicit CPrintPath(const std::string& strArguments)
        : m_strPort(UniqueName("USB")), m_strStop(UniqueName("NySim.Stop.")) {
        m_bStarted = m_child.Start("--port " + m_strPort + " --tick 10 --print --stop-event " + m_strStop +
                                   " " + strArguments);
        m_bStarted =
            m_bStarted && WaitFor(
                              [this] {
                                  CUniqueHandle hMapping(OpenFileMappingA(
                                      FILE_MAP_READ, FALSE, ("NYRA_DEVICE_STATUS." + m_strPort).c_str()));
                                  return static_cast<bool>(hMapping);
                              },
                              10000);
    }
    ~CPrintPath() { Stop(); }
    void Stop() {
        CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, m_strStop.c_str()));
        if (hStop)
            SetEvent(hStop.Get());
        m_child.Wait(10000);
    }
    bool Started() const { return m_bStarted; }
    const char* Port() const { return m_strPort.c_str(); }
    std::string Output() { return m_child.Output(); }

private:
    std::string m_strPort;
    std::string m_strStop;
    CSimChild m_child;
    bool m_bStarted = false;
};

} // namespace

TEST(VirDevice, FollowsAScriptedJob) {
    // Steps last long enough for two polls each, even on a busy machine.
    CScriptFile script("0 1 0 0 0\n600 3 1 0 0\n1200 3 7 0 0\n1800 3 4 50 0\n2400 3 4 50 0x80000001\n"
                       "3000 3 4 60 0\n3600 1 0 0 0\n");
    CPrintPath printPath("--script \"" + script.Path() + "\"");
    ASSERT_TRUE(printPath.Started());
    CRecordingNotify notify;
    std::vector<std::string> calls;
    CVirDevice device(&notify, "Kestrel U", printPath.Port(), "USB");
    WaitFor(
        [&] {
            const std::vector<std::string> fresh = notify.Take();
            calls.insert(calls.end(), fresh.begin(), fresh.end());
            return !calls.empty() && calls.back() == "StatusChanged" && !device.IsPrinting(nullptr);
        },
        15000);
    const std::vector<std::string> expected = {"PrintingStarted", "StatusChanged", "StatusChanged",
                                               "StatusChanged",   "ErrorRaised",   "ErrorCleared",
                                               "PrintingEnded",   "StatusChanged"};
    EXPECT_EQ(expected, calls);
}

TEST(VirDevice, CancelAndResumeGoThroughTheConsole) {
    CPrintPath printPath("--scenario paper-out");
    ASSERT_TRUE(printPath.Started());
    CRecordingNotify notify;
    CVirDevice device(&notify, "Kestrel U", printPath.Port(), "USB");
    ASSERT_TRUE(WaitFor([&] { return device.GetStatusCode() == 0x80000001; }, 20000));
    CTraceCapture trace;
    EXPECT_EQ(0u, device.OnResume());
    EXPECT_TRUE(WaitFor([&] { return device.GetStatusCode() == 0 && device.IsPrinting(nullptr); }, 5000));
    EXPECT_EQ(0u, device.OnCancel());
    EXPECT_TRUE(WaitFor([&] { return !device.IsPrinting(nullptr); }, 5000));
    EXPECT_TRUE(trace.Lines().empty());
    printPath.Stop();
    const std::string strOutput = printPath.Output();
    EXPECT_NE(std::string::npos, strOutput.find("console Resume: error cleared"));
    EXPECT_NE(std::string::npos, strOutput.find("console Cancel: job ended"));
}

TEST(VirDevice, WithoutTheMappingTheDefaultRecordStays) {
    const std::string strPort = UniqueName("USB");
    CRecordingNotify notify;
    CTraceCapture trace;
    CVirDevice device(&notify, "Kestrel U", strPort.c_str(), "USB");
    EXPECT_EQ(1, trace.Count("CNyDevice::CNyDevice() : OpenFileMapping() failed. GetLastError() = 2\n"));
    EXPECT_EQ(1, trace.Count("CVirDevice::CVirDevice() : Start() failed. GetLastError() = 2\n"));
    CDeviceStatus status;
    EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), device.ReadStatus(&status));
    EXPECT_EQ(0x2A, device.GetProductId());
    EXPECT_EQ(1, device.GetDeviceState());
    DEVICE_INFO info;
    std::memset(info.abData, 0xA5, sizeof(info.abData));
    WORD wCount = 7;
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), device.ReadInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), device.GetNumberOfLogs(&wCount));
    EXPECT_EQ(0xA5, info.abData[77]);
    EXPECT_EQ(7, wCount);
    Sleep(600);
    EXPECT_TRUE(notify.Take().empty());
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
