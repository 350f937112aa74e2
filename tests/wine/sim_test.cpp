#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

#include "devices/printpath/status_block.h"
#include "monitor/console.h"
#include "framework/unique_handle.h"
#include "sim/port_publisher.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_printer.h"

namespace {

constexpr DWORD kAttachTimeoutMs = 10000;
constexpr DWORD kStepTimeoutMs = 5000;

std::string StatusMapping(const std::string& strPort) {
    return "Global\\NYRA_DEVICE_STATUS." + strPort;
}

// A reader of a port's status block in another process than the simulator,
// as the agent's shared-memory device is: it keeps every distinct record it sees.
class CStatusFollower {
public:
    // Waits for the simulator to create the mapping, then maps it read-only.
    bool Open(const std::string& strName, CSimChild& child) {
        for (DWORD dwWaited = 0; dwWaited < kAttachTimeoutMs && child.IsRunning(); dwWaited += 5) {
            m_hMapping.Reset(OpenFileMappingA(FILE_MAP_READ, FALSE, strName.c_str()));
            if (m_hMapping)
                break;
            Sleep(5);
        }
        if (!m_hMapping)
            return false;
        m_pView = static_cast<const std::uint8_t*>(MapViewOfFile(m_hMapping.Get(), FILE_MAP_READ, 0, 0, 0));
        return m_pView != nullptr;
    }

    ~CStatusFollower() {
        if (m_pView)
            UnmapViewOfFile(m_pView);
    }

    CDeviceStatus Read() {
        CDeviceStatus status;
        EXPECT_TRUE(printpath::ReadStatusBlock(m_pView, status.Data()));
        // The mapping is empty until the first record is published.
        const bool bBeforeFirst = m_history.empty() && !status.IsValid();
        if (!bBeforeFirst && (m_history.empty() || m_history.back() != status))
            m_history.push_back(status);
        return status;
    }

    // Follows the block until the record satisfies the test; false on time-out.
    bool WaitFor(const std::function<bool(const CDeviceStatus&)>& test, DWORD dwTimeoutMs = kStepTimeoutMs) {
        const ULONGLONG deadline = GetTickCount64() + dwTimeoutMs;
        do {
            if (test(Read()))
                return true;
            Sleep(1);
        } while (GetTickCount64() < deadline);
        return false;
    }

    const std::vector<CDeviceStatus>& History() const { return m_history; }

private:
    CUniqueHandle m_hMapping;
    const std::uint8_t* m_pView = nullptr;
    std::vector<CDeviceStatus> m_history;
};

bool IsReady(const CDeviceStatus& status) {
    return status.GetDeviceState() == kStateReady && status.GetPrintPhase() == kPhaseNone;
}

class SimulatorTest : public ::testing::Test {
protected:
    // Starts the simulator on this test's port with the script, a 10 ms tick
    // and the extra arguments, and attaches the follower to its block.
    void StartSim(const std::string& strScript, const std::string& strArguments = "--exit-when-done") {
        m_pScript.reset(new CScriptFile(strScript));
        ASSERT_TRUE(m_child.Start("--port " + m_strPort + " --script \"" + m_pScript->Path() +
                                  "\" --tick 10 --stop-event " + m_strStop + " " + strArguments));
        ASSERT_TRUE(m_follower.Open(StatusMapping(m_strPort), m_child))
            << "exit code " << m_child.Wait(0) << ", output: " << m_child.Output();
    }

    // Signals the stop event; the simulator ends with 0.
    void StopSim() {
        CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, m_strStop.c_str()));
        ASSERT_TRUE(hStop && SetEvent(hStop.Get()));
        EXPECT_EQ(0u, m_child.Wait(kStepTimeoutMs));
    }

    const std::string m_strPort = UniqueName("SIM");
    const std::string m_strStop = UniqueName("NySim.Stop.");
    std::unique_ptr<CScriptFile> m_pScript;
    CSimChild m_child;
    CStatusFollower m_follower;
};

} // namespace

TEST_F(SimulatorTest, AnotherProcessFollowsAJobThroughTheMapping) {
    StartSim("0 1 0 0 0\n600 3 1 0 0\n700 3 4 100 0\n800 1 0 0 0\n",
             "--exit-when-done --print --model 0x3C --firmware 2.05");
    CStatusFollower local; // the mapping exists without the global prefix as well
    ASSERT_TRUE(local.Open("NYRA_DEVICE_STATUS." + m_strPort, m_child));
    ASSERT_TRUE(m_follower.WaitFor([](const CDeviceStatus& status) { return status.GetPrintPhase() == 4; }));
    ASSERT_TRUE(m_follower.WaitFor(IsReady));
    EXPECT_EQ(0u, m_child.Wait(kStepTimeoutMs));
    for (const CDeviceStatus& status : m_follower.History()) {
        EXPECT_TRUE(status.IsValid());
        EXPECT_EQ(0x0E7A, status.GetVendorId());
        EXPECT_EQ(0x3C, status.GetProductId());
        EXPECT_EQ("SIM-" + m_strPort.substr(0, 12), status.GetSerialNumber());
        EXPECT_EQ("2.05", status.GetFirmwareVersion());
    }
    EXPECT_EQ(m_follower.Read(), local.Read());
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
    StartSim(script);
    for (const std::string& strMutex :
         {"Global\\KORVA.Nylm.Status." + m_strPort + ".Mutex", "KORVA.Nylm.Status." + m_strPort + ".Mutex"}) {
        CUniqueHandle hMutex(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, strMutex.c_str()));
        ASSERT_TRUE(hMutex) << strMutex;
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hMutex.Get(), kStepTimeoutMs)) << strMutex;
        const CDeviceStatus held = m_follower.Read();
        Sleep(400); // eight steps of the script
        EXPECT_EQ(held, m_follower.Read()) << strMutex;
        ReleaseMutex(hMutex.Get());
        EXPECT_TRUE(m_follower.WaitFor([&](const CDeviceStatus& status) { return status != held; }))
            << strMutex;
    }
    StopSim();
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
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(publisher.CancelEvent(), 0)); // auto-reset
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
