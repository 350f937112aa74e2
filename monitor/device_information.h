// Everything the device information dialog shows about one printer, gathered in one call.
#pragma once

#include <string>

#include <windows.h>

#include "monitor/device_info.h"
#include "monitor/device_status.h"
#include "monitor/printer_info.h"

struct CDeviceInformation {
    CPrinterInfo m_PrinterInfo;
    BOOL m_bPrinterInfo = FALSE;
    DEVICE_INFO m_Info = {};
    BOOL m_bInfo = FALSE;
    CDeviceStatus m_Status;
    BOOL m_bStatus = FALSE;
    // From the spooler's printer data, only when neither record could be read.
    std::string m_strFirmwareVersion;
    std::string m_strSerialNumber;
};
