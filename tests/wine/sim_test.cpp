// NySim.exe as a child process, read through its status mapping from another
// process as the agent reads it, and its port publisher in process.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

#include "devices/printpath/status_block.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/console.h"
#include "sim/port_publisher.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_printer.h"

namespace {

constexpr DWORD kStepTimeoutMs = 5000;

std::string StatusMapping(const std::string& strPort) {
    return "Global\\NYRA_DEVICE_STATUS." + strPort;
}

bool IsReady(const CDeviceStatus& status) {
    return status.GetDeviceState() == kStateReady && status.GetPrintPhase() == kPhaseNone;
}

class SimulatorTest : public ::testing::Test {
protected:
    // Starts the simulator on this test's port with the script, a 10 ms tick
    // and the extra arguments, and maps its status block once it exists.
    void StartSim(const std::string& strScript, const std::string& strArguments) {
        m_pScript = std::make_unique<CScriptFile>(strScript);
        ASSERT_TRUE(m_child.Start("--port " + m_strPort + " --script \"" + m_pScript->Path() +
                                  "\" --tick 10 --stop-event " + m_strStop + " " + strArguments));
        WaitFor(
            [&] {
                m_hMapping.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE, StatusMapping(m_strPort).c_str()));
                return m_hMapping || !m_child.IsRunning();
            },
            10000);
        ASSERT_TRUE(m_hMapping) << "exit code " << m_child.Wait(0) << ", output: " << m_child.Output();
        m_view.Reset(MapViewOfFile(m_hMapping.Get(), FILE_MAP_READ, 0, 0, 0));
        ASSERT_TRUE(m_view);
    }
    CDeviceStatus Read() {
        CDeviceStatus status;
        printpath::ReadStatusBlock(m_view.Get(), status.Data());
        return status;
    }
    bool WaitForRecord(const std::function<bool(const CDeviceStatus&)>& test) {
        return WaitFor([&] { return test(Read()); }, kStepTimeoutMs);
    }

    const std::string m_strPort = UniqueName("SIM");
    const std::string m_strStop = UniqueName("NySim.Stop.");
    std::unique_ptr<CScriptFile> m_pScript;
    CSimChild m_child;
    CUniqueHandle m_hMapping;
    CUniqueView m_view;
};

} // namespace

TEST_F(SimulatorTest, AnotherProcessFollowsAJobThroughTheMapping) {
    StartSim("0 1 0 0 0\n600 3 1 0 0\n700 3 4 100 0\n800 1 0 0 0\n",
             "--exit-when-done --print --model 0x3C --firmware 2.05");
    ASSERT_TRUE(WaitForRecord([](const CDeviceStatus& status) { return status.GetPrintPhase() == 4; }));
    ASSERT_TRUE(WaitForRecord(IsReady));
    EXPECT_EQ(0u, m_child.Wait(kStepTimeoutMs));
    const CDeviceStatus status = Read();
    EXPECT_TRUE(status.IsValid());
    EXPECT_EQ(0x0E7A, status.GetVendorId());
    EXPECT_EQ(0x3C, status.GetProductId());
    EXPECT_EQ("SIM-" + m_strPort.substr(0, 12), status.GetSerialNumber());
    EXPECT_EQ("2.05", status.GetFirmwareVersion());
    EXPECT_NE(std::string::npos,
              m_child.Output().find(" ms " + m_strPort +
                                    " state=3 (printing) phase=4 (yellow) progress=100% code=0x00000000"))
        << m_child.Output();
}

// The simulator yields to an agent holding either form of the status mutex,
// and ends on its stop event.
TEST_F(SimulatorTest, NothingIsPublishedWhileAnAgentHoldsTheStatusMutex) {
    std::string script;
    for (int i = 0; i <= 100; ++i)
        script += std::to_string(i * 50) + " 3 4 " + std::to_string(i) + " 0\n";
    StartSim(script, "--exit-when-done");
    for (const std::string& strMutex :
         {"Global\\KORVA.Nylm.Status." + m_strPort + ".Mutex", "KORVA.Nylm.Status." + m_strPort + ".Mutex"}) {
        CUniqueHandle hMutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, strMutex.c_str()));
        ASSERT_TRUE(hMutex) << strMutex;
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hMutex.Get(), kStepTimeoutMs)) << strMutex;
        const CDeviceStatus held = Read();
        Sleep(400); // eight steps of the script
        EXPECT_EQ(held, Read()) << strMutex;
        ReleaseMutex(hMutex.Get());
        EXPECT_TRUE(WaitForRecord([&](const CDeviceStatus& status) { return status != held; })) << strMutex;
    }
    CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, m_strStop.c_str()));
    ASSERT_TRUE(hStop && SetEvent(hStop.Get()));
    EXPECT_EQ(0u, m_child.Wait(kStepTimeoutMs));
}

TEST(Simulator, BadScriptIsRefusedWithItsLine) {
    const std::string strPort = UniqueName("SIM");
    CScriptFile script("0 1 0 0 0\n100 3 4 400 0\n");
    CSimChild child;
    ASSERT_TRUE(child.Start("--port " + strPort + " --script \"" + script.Path() + "\""));
    EXPECT_EQ(2u, child.Wait(kStepTimeoutMs));
    CUniqueHandle hMapping(OpenFileMappingA(FILE_MAP_READ, FALSE, StatusMapping(strPort).c_str()));
    EXPECT_FALSE(hMapping);
}

TEST(PortPublisher, OpensTheAgentsEventsAndRefusesASecondPublisher) {
    const std::string strPort = UniqueName("PUB");
    CConsole console(strPort); // the agent was first: its console created the events
    CPortPublisher publisher(strPort);
    ASSERT_EQ(0u, publisher.Open());
    console.ReplyClose();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(publisher.CancelEvent(), 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(publisher.ResumeEvent(), 0));
    console.ReplyResume();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(publisher.ResumeEvent(), 0));

    CTraceCapture trace;
    CPortPublisher second(strPort);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), second.Open());
    EXPECT_EQ(std::vector<std::string>{"CPortPublisher::Open() : CreateFileMapping(" +
                                       StatusMapping(strPort) + ") already exists\n"},
              trace.Lines());
}
