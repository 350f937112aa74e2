#include "devices/lan/pjl_frame.h"

#include "app/format.h"
#include "app/trace.h"

std::string FormatPjlEchoLine(unsigned nHour, unsigned nMinute, unsigned nSecond) {
    if (nHour > 23 || nMinute > 59 || nSecond > 59) {
        DebugTrace("CLanThread::InitInstance() : Time %u:%u:%u out of range\n", nHour, nMinute, nSecond);
        nHour %= 24;
        nMinute %= 60;
        nSecond %= 60;
    }
    return Format("@PJL ECHO Status at %02u:%02u:%02u.0", nHour, nMinute, nSecond);
}

std::string BuildPjlFrame(std::string_view echoLine, std::string_view command) {
    std::string frame;
    frame.reserve(2 * kPjlUelLength + echoLine.size() + command.size() + 10);
    frame.append(kPjlUel, kPjlUelLength).append("@PJL\r\n");
    frame.append(echoLine).append("\r\n");
    frame.append(command).append("\r\n");
    frame.append(kPjlUel, kPjlUelLength);
    return frame;
}
