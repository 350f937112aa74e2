#include "agent/ny_agent.h"

#include <new>

#include "app/trace.h"
#include "devices/devices.h"
#include "devices/lan/ny_socket.h"
#include "monitor/dialog_monitor.h"
#include "monitor/status_pipe_server.h"
#include "resources/resource_ids.h"
#include "ui/ny_task_bar_applet.h"
#include "ui/status_window_source.h"

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
    CNyAgentWindows windows;
    CDialogMonitor monitor(devices, windows, GetUseNyStatusMonitorSetting());
    if (!monitor.Create(nullptr))
        DebugTrace(
            "CNyAgentApp::InitInstance() : Create() of the monitor window failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    ShowWindow(monitor.GetSafeHwnd(), SW_HIDE);
    // Stopped before the monitor window goes: it reads the window's status board.
    CStatusPipeServer statusPipe(monitor.GetStatusBoard(), CStatusPipeSecurity::SessionPipeName());
    statusPipe.Start();
    {
        CNyTaskBarApplet applet(&monitor);
        monitor.PostMessage(CDialogMonitor::kMessageInit,
                            reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&applet)), 0);
        CTaskBarApplet::RunMessageLoop(GetModuleHandleA(nullptr), "");
    }
    statusPipe.Stop();
    monitor.DestroyWindow();
}
