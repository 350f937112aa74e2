// A controller that hears nothing: the benchmarks drive devices on their own.
#pragma once

#include "monitor/device_notify.h"

class CSilentNotify : public CDeviceNotify {
    void OnErrorRaised() override {}
    void OnErrorCleared() override {}
    void OnStatusChanged() override {}
    void OnPrintingStarted() override {}
    void OnPrintingEnded() override {}
    void RefreshDisplay() override {}
};
