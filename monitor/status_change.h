// What changed between two status records, as the controller is told of it.
#pragma once

#include <cstddef>

#include "monitor/device_status.h"

enum class StatusNotification {
    PrintingStarted,
    PrintingEnded,
    ErrorRaised,
    ErrorCleared,
    StatusChanged,
};

// At most two notifications, the printing transition first.
struct StatusChanges {
    StatusNotification aItems[2];
    std::size_t nCount = 0;

    void Add(StatusNotification item) { aItems[nCount++] = item; }
};

// The common rule of every polling step, applied to a valid fresh record.
StatusChanges ClassifyChange(const CDeviceStatus& previous, const CDeviceStatus& fresh);
