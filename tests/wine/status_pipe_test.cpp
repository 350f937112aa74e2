// The status pipe and NyStatus.exe: the pipe server on a status board of the
// test's own, with raw clients and with NyStatus.exe as a child process, and
// the agent's monitor window on the simulator's network printer, whose job a
// watch follows and whose paper-out ends a wait when it is resumed.
#include "tests/wine/winsock_environment.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <regex>
#include <utility>

#include "app/json/json_text.h"
#include "devices/devices.h"
#include "monitor/dialog_monitor.h"
#include "monitor/status_answer.h"
#include "monitor/status_pipe_server.h"
#include "tests/native/status_entries.h"
#include "tests/wine/monitor_harness.h"
#include "tests/wine/network_sim.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "tools/nystatus/status_options.h"
#include "tools/nystatus/status_pipe_client.h"
#include "ui/status_window_source.h"

namespace {

const std::string g_strPipe = CStatusPipeSecurity::SessionPipeName();

// NyStatus.exe as a child process, the messages of this thread dispatched while it is awaited.
class CNyStatusChild : public CSimChild {
public:
    explicit CNyStatusChild(const std::string& strArguments) {
        EXPECT_TRUE(StartProgram(NYSTATUS_EXE, strArguments));
    }
    // Its exit code, or STILL_ACTIVE when it still runs.
    DWORD Finish(DWORD dwTimeoutMs = 30000) {
        Pump(dwTimeoutMs, [&] { return !IsRunning(); });
        return Wait(0);
    }
};

// A connected raw client.
std::unique_ptr<CStatusPipeClient> Connect() {
    auto pClient = std::make_unique<CStatusPipeClient>();
    EXPECT_EQ(CStatusPipeClient::Result::Ok, pClient->Connect(g_strPipe, 5000));
    return pClient;
}

class StatusPipeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_server.Start()); }

    CStatusBoard m_board;
    CStatusPipeServer m_server{m_board, g_strPipe, 500};
};

} // namespace

// One state on each road, listed in one answer; each state's fields and exit
// code are checked natively.
TEST_F(StatusPipeTest, EachRoadGivesItsStateAndTheWorstStateTheExitCode) {
    CStatusEntry lpt = EntryIn("lpt", "idle", 0, StatusRoad::None);
    lpt.record = CDeviceStatus(); // its status is never read
    for (const CStatusEntry& entry :
         {EntryIn("usb idle", "idle"), EntryIn("net error", "error", 0x20000002, StatusRoad::Network),
          EntryIn("pp printing", "printing", 0, StatusRoad::PrintPath), lpt})
        m_board.Set(entry);
    CNyStatusChild list("--json");
    EXPECT_EQ(static_cast<DWORD>(kExitError), list.Finish()) << "the worst state";
    const CJsonValue answer = Parsed(list.Output());
    ASSERT_TRUE(answer.Find("printers")) << list.Output();
    std::string strRoadsAndStates;
    for (const CJsonValue& printer : answer.Find("printers")->Items())
        strRoadsAndStates += printer.StringOf("road") + " " + printer.StringOf("state") + ", ";
    EXPECT_EQ("usb idle, network error, print-path printing, none not-connected, ", strRoadsAndStates)
        << list.Output();
    EXPECT_EQ(static_cast<DWORD>(kExitPrinting), CNyStatusChild("--json --printer \"pp printing\"").Finish());
    CNyStatusChild table("");
    table.Finish();
    EXPECT_NE(std::string::npos, table.Output().find("pp printing  print-path  printing       0%"))
        << table.Output();
    EXPECT_EQ(static_cast<DWORD>(kExitNoSuchPrinter), CNyStatusChild("--printer nobody").Finish());
    EXPECT_EQ(static_cast<DWORD>(kExitUsage), CNyStatusChild("--wait soon").Finish());
    m_server.Stop();
    EXPECT_EQ(static_cast<DWORD>(kExitNoAgent), CNyStatusChild("").Finish());
}

TEST_F(StatusPipeTest, BadInputGetsItsErrorLineAndTheClose) {
    const std::pair<std::string, const char*> kCases[] = {
        {"{\"version\":1,\"request\":\"list\"\n", "malformed-json"},
        {std::string(CStatusLineReader::kMaxLine + 1, ' ') + "\n", "line-too-long"},
        {"", "idle-timeout"}, // connects and sends nothing
    };
    for (const auto& [strSent, pszError] : kCases) {
        SCOPED_TRACE(pszError);
        const auto pClient = Connect();
        if (!strSent.empty()) {
            ASSERT_EQ(CStatusPipeClient::Result::Ok, pClient->Send(strSent, 5000, nullptr));
        }
        std::string strLine;
        ASSERT_EQ(CStatusPipeClient::Result::Ok, pClient->ReadLine(strLine, 10000, nullptr));
        EXPECT_EQ(pszError, Parsed(strLine).StringOf("error"));
        EXPECT_EQ(CStatusPipeClient::Result::Closed, pClient->ReadLine(strLine, 10000, nullptr));
    }
}

TEST_F(StatusPipeTest, SixtyFourClientsAtOnceAndAWatcherThatNeverReadsIsDropped) {
    m_board.Set(EntryIn("K", "idle"));
    std::vector<std::unique_ptr<CStatusPipeClient>> clients;
    for (DWORD i = 0; i < CStatusPipeServer::kMaxClients; ++i)
        clients.push_back(Connect());
    for (const auto& pClient : clients)
        ASSERT_EQ(CStatusPipeClient::Result::Ok,
                  pClient->Send("{\"version\":1,\"request\":\"printer\",\"name\":\"K\"}\n", 5000, nullptr));
    for (const auto& pClient : clients) {
        std::string strLine;
        ASSERT_EQ(CStatusPipeClient::Result::Ok, pClient->ReadLine(strLine, 10000, nullptr));
        EXPECT_EQ("printer", Parsed(strLine).StringOf("answer"));
    }
    clients.clear();

    const auto pWatcher = Connect();
    ASSERT_EQ(CStatusPipeClient::Result::Ok,
              pWatcher->Send("{\"version\":1,\"request\":\"watch\"}\n", 5000, nullptr));
    // Far more than the queue's bound and the pipe's buffer, none of it read.
    CStatusEntry entry = EntryIn("K", "idle");
    entry.strAdvice.assign(3000, 'a');
    for (int i = 0; i < 400; ++i) {
        entry.nTask = i;
        m_board.Set(entry);
        Sleep(i % 50 == 0 ? 20 : 0);
    }
    std::size_t nRead = 0;
    std::string strLine;
    while (pWatcher->ReadLine(strLine, 10000, nullptr) == CStatusPipeClient::Result::Ok)
        nRead += strLine.size();
    EXPECT_LT(nRead, 400u * 3000u / 2) << "dropped before the board's changes were all queued";
}

// The access list in SDDL, its rights left out: Wine keeps generic rights as
// given, Windows maps them to the pipe's own.
TEST_F(StatusPipeTest, OnlyTheUserSystemAndAdministratorsMayConnect) {
    const CUniqueHandle hPipe(CreateFileA(g_strPipe.c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL, 0,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, hPipe.Get());
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    LPSTR pszAcl = nullptr;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
              GetSecurityInfo(hPipe.Get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &pDescriptor));
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorA(
        pDescriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &pszAcl, nullptr));
    const std::string strAcl = std::regex_replace(pszAcl, std::regex(";;[^;]*;;;"), ";;;;;");
    LocalFree(pszAcl);
    LocalFree(pDescriptor);
    HANDLE hToken = nullptr;
    BYTE abUser[256];
    DWORD dwSize = sizeof(abUser);
    LPSTR pszUser = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken));
    ASSERT_TRUE(GetTokenInformation(hToken, TokenUser, abUser, dwSize, &dwSize));
    CloseHandle(hToken);
    ASSERT_TRUE(ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(abUser)->User.Sid, &pszUser));
    EXPECT_EQ("D:(A;;;;;" + std::string(pszUser) + ")(A;;;;;SY)(A;;;;;BA)", strAcl);
    LocalFree(pszUser);
}

namespace {

// Feed in, yellow, a paper-out held until Resume, yellow again, ready.
constexpr char kJob[] = "0 1 0 0 0\n1500 3 1 0 0\n3000 3 4 30 0\n4500 3 4 40 0x80000001 hold\n"
                        "6000 3 4 70 0\n7500 1 0 0 0\n";

} // namespace

TEST(StatusPipeAgent, AWatchSeesTheJobInOrderAndAWaitEndsWhenThePaperOutIsResumed) {
    CScriptFile job(kJob);
    CNetworkPrinter printer("--script \"" + job.Path() + "\"", true);
    ASSERT_TRUE(printer.Started());
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort(printer.Port(), "127.0.0.1", printer.TcpPort());
    const CTestPrinter spooled(UniqueName("Kestrel Net "), printer.Port(), "Kestrel 2006 WiFi");

    CDevices devices;
    CNyAgentWindows windows;
    CSilentTray tray;
    CDialogMonitor monitor(devices, windows, FALSE);
    ASSERT_TRUE(monitor.Create(nullptr));
    CStatusPipeServer server(monitor.GetStatusBoard(), g_strPipe);
    ASSERT_TRUE(server.Start());
    SendMessageA(monitor.GetSafeHwnd(), CDialogMonitor::kMessageInit,
                 reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&tray)), 0);

    CNyStatusChild watch("--watch --printer \"" + spooled.Name() + "\"");
    CNyStatusChild wait("--wait ready --timeout 60 --printer \"" + spooled.Name() + "\"");
    // Dispatches until the paper-out is on the board; a wait then starts, and the Resume follows.
    CStatusEntry entry;
    ASSERT_TRUE(Pump(30000, [&] {
        return monitor.GetStatusBoard().Find(spooled.Name(), entry) && entry.record.IsError(nullptr);
    }));
    EXPECT_EQ(static_cast<DWORD>(kExitReady), wait.Finish()) << "ready before the job";
    CNyStatusChild waitForResume("--wait ready --printer \"" + spooled.Name() + "\"");
    EXPECT_EQ(STILL_ACTIVE, waitForResume.Finish(1500)) << "no return while out of paper";
    CUniqueHandle hResume(OpenEventA(EVENT_MODIFY_STATE, FALSE,
                                     ("Global\\KORVA.Nylm.Console." + printer.Port() + ".Resume").c_str()));
    ASSERT_TRUE(hResume);
    SetEvent(hResume.Get());
    EXPECT_EQ(static_cast<DWORD>(kExitReady), waitForResume.Finish());

    server.Stop();
    EXPECT_EQ(static_cast<DWORD>(kExitNoAgent), watch.Finish()) << "the agent went";
    const std::string strWatched = watch.Output();
    // The states and phases the watch told, each once in a row.
    std::string strSteps, strLast;
    const std::regex step(R"re("state":"([^"]*)".*?"phase":"([^"]*)")re");
    for (std::sregex_iterator it(strWatched.begin(), strWatched.end(), step), end; it != end; ++it) {
        const std::string strStep = (*it)[1].str() + " " + (*it)[2].str();
        if (strStep != strLast)
            strSteps += (strLast = strStep) + ", ";
    }
    EXPECT_NE(std::string::npos, strSteps.find("idle none, printing feed-in, printing yellow, error none, "
                                               "printing yellow, idle none, "))
        << strSteps;
    monitor.DestroyWindow();
}
