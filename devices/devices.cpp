#include "devices/devices.h"

#include "app/trace.h"
#include "devices/lan/lan_device.h"
#include "devices/shared/def_device.h"
#include "devices/shared/vir_device.h"
#include "devices/usb/usb_device.h"
#include "monitor/device_control.h"

void CDevices::Synchronise() {
    m_usbDevices.Synchronise();
    m_ports.Refresh();
}

int CDevices::GetPortType(const char* pszPort) {
    return m_ports.GetPortType(pszPort);
}

BOOL CDevices::GetLink(const std::string& strPort, std::string& strLink) {
    switch (m_ports.GetPortType(strPort.c_str())) {
    case CDeviceControl::kPortUsb:
        return m_usbDevices.GetDevicePath(strPort, strLink) ? TRUE : FALSE;
    case CDeviceControl::kPortNetwork: {
        std::string strIpAddress;
        DWORD dwTcpPort = 0;
        const DWORD dwError = m_ports.GetPortInfo(strPort, strIpAddress, dwTcpPort);
        if (dwError != ERROR_SUCCESS) {
            DebugTrace("CDevices::GetLink() : GetPortInfo2K() failed. GetLastError() = %d\n",
                       static_cast<int>(dwError));
            return FALSE;
        }
        CLanDevice::MakeLink(strLink, strIpAddress, dwTcpPort);
        return TRUE;
    }
    default:
        strLink = strPort;
        return TRUE;
    }
}

std::unique_ptr<CDevice> CDevices::CreateDevice(int nPortType, BOOL bUseNyStatusMonitor,
                                                CDeviceNotify* pControl, const char* pszPrinterName,
                                                const char* pszPort, const char* pszLink) {
    switch (nPortType) {
    case CDeviceControl::kPortUsb:
        if (bUseNyStatusMonitor)
            return std::make_unique<CVirDevice>(pControl, pszPrinterName, pszPort, pszLink);
        return std::make_unique<CUsbDevice>(pControl, pszPrinterName, pszPort, pszLink);
    case CDeviceControl::kPortNetwork:
        return std::make_unique<CLanDevice>(pControl, pszPrinterName, pszPort, pszLink);
    default:
        // The default device's link is its port, whatever link it was given.
        return std::make_unique<CDefDevice>(pControl, pszPrinterName, pszPort, pszPort);
    }
}
