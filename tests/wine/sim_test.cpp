// NySim.exe as a child process, read through its status mapping from another
// process as the agent reads it, and its port publisher in process.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <windows.h>

#include "app/printpath/status_block.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/console.h"
#include "sim/port_publisher.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_printer.h"

namespace {

constexpr DWORD kStepTimeoutMs = 5000;

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
                m_hMapping.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE,
                                                  ("Global\\NYRA_DEVICE_STATUS." + m_strPort).c_str()));
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

// Another process reads the record the printer's model names, and the
// simulator yields to an agent holding either form of the status mutex, then
// ends on its stop event.
TEST_F(SimulatorTest, AnotherProcessReadsTheRecordWhenNoAgentHoldsTheStatusMutex) {
    std::string script;
    for (int i = 0; i <= 100; ++i)
        script += std::to_string(i * 50) + " 3 4 " + std::to_string(i) + " 0\n";
    StartSim(script, "--model 0x3C");
    ASSERT_TRUE(WaitForRecord([](const CDeviceStatus& status) { return status.GetPrintPhase() == 4; }));
    const CDeviceStatus status = Read();
    EXPECT_TRUE(status.IsValid());
    EXPECT_EQ(0x0E7A, status.GetVendorId());
    EXPECT_EQ(0x3C, status.GetProductId());
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

// A simulator started after the agent's console signals the agent's events.
TEST(PortPublisher, OpensTheAgentsEvents) {
    const std::string strPort = UniqueName("PUB");
    CConsole console(strPort);
    CPortPublisher publisher(strPort);
    ASSERT_EQ(0u, publisher.Open());
    console.ReplyClose();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(publisher.CancelEvent(), 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(publisher.ResumeEvent(), 0));
    console.ReplyResume();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(publisher.ResumeEvent(), 0));
}
