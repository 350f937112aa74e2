// The four requests of the PJL exchange with a network printer: the request
// line each sends, how long each waits, and the key its payload follows in
// the reply. The request threads take their parameters from here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "monitor/device_info.h"
#include "monitor/device_status.h"

struct PjlRequest {
    // The request thread's class; the CopyData traces name the request by it.
    const char* pszThreadClass;
    // Sent between the ECHO line and the closing sequence. The printers expect
    // two blanks after "@PJL".
    const char* pszCommand;
    std::uint32_t dwConnectTimeOut; // milliseconds
    std::uint32_t dwReceiveTimeOut; // milliseconds
    // The payload starts right behind the first occurrence of this key.
    const char* pszReplyKey;
};

// A request answered with a record, two hexadecimal digits per byte.
struct PjlRecordRequest : PjlRequest {
    std::size_t nRecordSize;
};

// Status requests repeat about once a second, hence the short connect wait.
inline constexpr PjlRecordRequest kPjlStatusRequest = {
    {"CLanStatusThread", "@PJL  INFO CURRENT_STATUS", 1000, 3000, "NYSTATUS="}, CDeviceStatus::kSize};
inline constexpr PjlRecordRequest kPjlInfoRequest = {
    {"CLanInfoThread", "@PJL  INFO INFORMATIONS", 5000, 3000, "NYCONFIG="}, DEVICE_INFO::kSize};
// Cancel and Resume are answered with a decimal code behind a double quote,
// as in CANCEL_STATUS="0"; 0 means the printer did it.
inline constexpr PjlRequest kPjlCancelRequest = {"CLanCancelThread", "@PJL  CANCEL_JOB", 5000, 3000,
                                                 "CANCEL_STATUS="};
inline constexpr PjlRequest kPjlResumeRequest = {"CLanResumeThread", "@PJL  RESUME_JOB", 5000, 3000,
                                                 "RESUME_STATUS="};
