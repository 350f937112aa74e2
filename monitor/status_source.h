// What Display reads of a printer: the status slots of the device, in
// platform-free types. The status window adapts its CDevice to
// this; the tests and the benchmark give a record of their own.
#pragma once

#include <cstdint>

class CStatusSource {
public:
    virtual ~CStatusSource() = default;

    virtual bool IsConnected() const = 0;
    // TRUE when the status code carries an error class; the class (if asked
    // for) then receives the highest class bit set, and is not written otherwise.
    virtual bool IsError(std::uint32_t* pdwClass) const = 0;
    virtual std::uint32_t GetStatusCode() const = 0;
    // A job is in progress; the flag (if asked for) tells device state 19.
    virtual bool IsPrinting(bool* pbFlag) const = 0;
    virtual std::uint8_t GetPrintPhase() const = 0;
    virtual std::uint8_t GetProgress() const = 0;
    virtual std::uint8_t GetDeviceState() const = 0;

protected:
    CStatusSource() = default;
    CStatusSource(const CStatusSource&) = default;
    CStatusSource& operator=(const CStatusSource&) = default;
};
