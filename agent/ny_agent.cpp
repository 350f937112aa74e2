#include "agent/ny_agent.h"

#include <cstdint>
#include <new>
#include <string>

#include "app/trace.h"
#include "devices/devices.h"
#include "devices/lan/ny_socket.h"
#include "monitor/dialog_monitor.h"
#include "monitor/fleet/fleet_reporter.h"
#include "monitor/status_pipe_server.h"
#include "resources/resource_ids.h"
#include "ui/ny_task_bar_applet.h"
#include "ui/status_window_source.h"

namespace {

std::string VersionText() {
    WORD wMajor = 0, wMinor = 0, wBuild = 0, wRevision = 0;
    CNyAgentApp::GetProductVersion(wMajor, wMinor, wBuild, wRevision);
    return std::to_string(wMajor) + "." + std::to_string(wMinor) + "." + std::to_string(wBuild) + "." +
           std::to_string(wRevision);
}

std::uint32_t SessionId() {
    DWORD dwSession = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &dwSession);
    return dwSession;
}

} // namespace

CNyAgent::CNyAgent() = default;

CNyAgent::~CNyAgent() = default;

void CNyAgent::FirstCallOfIsReachable() {
    if (m_bDummySocketCreated)
        return;
    m_pDummySocket = new (std::nothrow) CNySocket;
    if (!m_pDummySocket) {
        DebugTrace("CNyAgentApp::FirstCallOfIsReachable() : Unable to allocate m_pDummySocket\n");
        return;
    }
    if (m_pDummySocket->Create()) {
        DebugTrace("CNyAgentApp::FirstCallOfIsReachable() : Create() SUCCEEDED\n");
        m_bDummySocketCreated = TRUE;
        return;
    }
    DebugTrace("CNyAgentApp::FirstCallOfIsReachable() : Create() failed. GetLastError() = %d\n",
               static_cast<int>(GetLastError()));
    delete m_pDummySocket;
    m_pDummySocket = nullptr;
}

void CNyAgent::RunAgent() {
    // Built in this order and taken down in the reverse one: the monitor
    // window (its printers' windows and devices with it) goes after the tray.
    CDevices devices;
    CNyAgentWindows windows(&GetSettings());
    CDialogMonitor monitor(devices, windows, GetSettings().GetUseNyStatusMonitorSetting());
    if (!monitor.Create(nullptr))
        DebugTrace(
            "CNyAgentApp::InitInstance() : Create() of the monitor window failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    ShowWindow(monitor.GetSafeHwnd(), SW_HIDE);
    // The status pipe and the fleet's reports read the window's status board:
    // both are stopped before the window goes.
    CStatusPipeServer statusPipe(monitor.GetStatusBoard(), CStatusPipeSecurity::SessionPipeName());
    statusPipe.Start();
    CFleetReporter reporter(monitor.GetStatusBoard(), VersionText(), SessionId());
    reporter.Start();
    {
        CNyTaskBarApplet applet(&monitor, GetSettings());
        monitor.PostMessage(CDialogMonitor::kMessageInit,
                            reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&applet)), 0);
        CTaskBarApplet::RunMessageLoop(GetModuleHandleA(nullptr), "");
    }
    reporter.Stop();
    statusPipe.Stop();
    monitor.DestroyWindow();
}
