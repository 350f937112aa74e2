#include "monitor/status_change.h"

StatusChanges ClassifyChange(const CDeviceStatus& previous, const CDeviceStatus& fresh) {
    StatusChanges changes;
    const bool wasPrinting = previous.IsPrinting(nullptr);
    const bool isPrinting = fresh.IsPrinting(nullptr);
    if (wasPrinting != isPrinting)
        changes.Add(isPrinting ? StatusNotification::PrintingStarted : StatusNotification::PrintingEnded);
    if (previous == fresh)
        return changes;
    const bool oldError = (previous.GetStatusCode() & kErrorClassMask) != 0;
    const bool newError = (fresh.GetStatusCode() & kErrorClassMask) != 0;
    if (oldError != newError)
        changes.Add(newError ? StatusNotification::ErrorRaised : StatusNotification::ErrorCleared);
    else
        changes.Add(StatusNotification::StatusChanged);
    return changes;
}
