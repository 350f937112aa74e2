// What a device tells its controller. Devices call these from their polling
// thread; the controller only posts window messages and returns at once.
#pragma once

class CDeviceNotify {
public:
    virtual ~CDeviceNotify() = default;

    virtual void OnErrorRaised() = 0;
    virtual void OnErrorCleared() = 0;
    virtual void OnStatusChanged() = 0;
    virtual void OnPrintingStarted() = 0;
    virtual void OnPrintingEnded() = 0;
    virtual void RefreshDisplay() = 0;
};
