#include "sim/pjl_responder.h"

#include <cstdio>
#include <cstring>

#include "monitor/byte_order.h"

namespace {

constexpr std::string_view kUel = "\x1b%-12345X";

std::string Hex(const std::uint8_t* pData, std::size_t nSize) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(nSize * 2);
    for (std::size_t i = 0; i < nSize; ++i) {
        text += kDigits[pData[i] >> 4];
        text += kDigits[pData[i] & 0xF];
    }
    return text;
}

} // namespace

bool ParsePjlMisbehaviour(std::string_view text, PjlMisbehaviour& misbehaviour) {
    static const struct {
        const char* pszName;
        PjlMisbehaviour value;
    } kNames[] = {
        {"none", PjlMisbehaviour::None},
        {"refuse", PjlMisbehaviour::Refuse},
        {"silent", PjlMisbehaviour::Silent},
        {"slow", PjlMisbehaviour::Slow},
        {"split", PjlMisbehaviour::Split},
        {"wrong-stamp", PjlMisbehaviour::WrongStamp},
        {"close-early", PjlMisbehaviour::CloseEarly},
        {"garbage", PjlMisbehaviour::Garbage},
        {"overflow", PjlMisbehaviour::Overflow},
        {"dribble", PjlMisbehaviour::Dribble},
        {"refuse-command", PjlMisbehaviour::RefuseCommand},
    };
    for (const auto& entry : kNames) {
        if (text == entry.pszName) {
            misbehaviour = entry.value;
            return true;
        }
    }
    return false;
}

bool IsPjlFrameComplete(std::string_view received) {
    const std::size_t nFirst = received.find(kUel);
    return nFirst != std::string_view::npos &&
           received.find(kUel, nFirst + kUel.size()) != std::string_view::npos;
}

PjlRequestFrame ParsePjlFrame(std::string_view frame) {
    PjlRequestFrame request;
    std::size_t nPos = 0;
    while (nPos < frame.size()) {
        std::size_t nEnd = frame.find("\r\n", nPos);
        if (nEnd == std::string_view::npos)
            nEnd = frame.size();
        const std::string_view line = frame.substr(nPos, nEnd - nPos);
        if (line.rfind("@PJL ECHO ", 0) == 0)
            request.strEcho = std::string(line);
        else if (line == "@PJL  INFO CURRENT_STATUS")
            request.command = PjlCommand::Status;
        else if (line == "@PJL  INFO INFORMATIONS")
            request.command = PjlCommand::Info;
        else if (line == "@PJL  CANCEL_JOB")
            request.command = PjlCommand::Cancel;
        else if (line == "@PJL  RESUME_JOB")
            request.command = PjlCommand::Resume;
        nPos = nEnd + 2;
    }
    return request;
}

DEVICE_INFO MakeSimInfo(const CDeviceStatus& status) {
    DEVICE_INFO info = {};
    std::memcpy(info.abData + DEVICE_INFO::kOffVendorId, status.Data() + CDeviceStatus::kOffVendorId, 4);
    std::memcpy(info.abData + DEVICE_INFO::kOffSerialNumber, status.Data() + CDeviceStatus::kOffSerialNumber,
                16);
    std::memcpy(info.abData + DEVICE_INFO::kOffFirmwareVersion,
                status.Data() + CDeviceStatus::kOffFirmwareVersion, 8);
    std::memcpy(info.abData + DEVICE_INFO::kOffBootLoaderVersion, "BL 2.01", 7);
    std::memcpy(info.abData + DEVICE_INFO::kOffFirmwareChecksum, "A1B2", 4);
    std::memcpy(info.abData + DEVICE_INFO::kOffBootLoaderChecksum, "C3D4", 4);
    StoreLE32(info.abData + DEVICE_INFO::kOffPhotoCounter1, 1234);
    StoreLE32(info.abData + DEVICE_INFO::kOffPhotoCounter2, 56);
    std::memcpy(info.abData + DEVICE_INFO::kOffHeadResistor, "3250", 4);
    StoreLE32(info.abData + DEVICE_INFO::kOffInternalCounter1, 1);
    StoreLE16(info.abData + DEVICE_INFO::kOffInternalCounter2, 2);
    StoreLE16(info.abData + DEVICE_INFO::kOffInternalCounter3, 3);
    StoreLE16(info.abData + DEVICE_INFO::kOffInternalCounter4, 4);
    return info;
}

std::string BuildPjlReply(const PjlRequestFrame& request, const CDeviceStatus& status, bool bCommandAccepted,
                          PjlMisbehaviour misbehaviour) {
    std::string strEcho = request.strEcho;
    if (misbehaviour == PjlMisbehaviour::WrongStamp)
        strEcho = "@PJL ECHO Status at 99:99:99.0";
    std::string reply = strEcho + "\r\n";
    if (misbehaviour == PjlMisbehaviour::Garbage) {
        reply += "@PJL USTATUS DEVICE\r\nCODE=10001\r\n#$%&'()*+,-./0123456789:;<=>?\r\n";
    } else if (misbehaviour == PjlMisbehaviour::Overflow || misbehaviour == PjlMisbehaviour::Dribble) {
        reply += std::string(5000, 'X');
        return reply; // never closed
    } else {
        switch (request.command) {
        case PjlCommand::Status:
            reply +=
                "@PJL INFO CURRENT_STATUS\r\nNYSTATUS=" + Hex(status.Data(), CDeviceStatus::kSize) + "\r\n";
            break;
        case PjlCommand::Info: {
            const DEVICE_INFO info = MakeSimInfo(status);
            reply += "@PJL INFO INFORMATIONS\r\nNYCONFIG=" + Hex(info.abData, DEVICE_INFO::kSize) + "\r\n";
            break;
        }
        case PjlCommand::Cancel:
        case PjlCommand::Resume: {
            reply += request.command == PjlCommand::Cancel ? "@PJL CANCEL_JOB\r\nCANCEL_STATUS=\""
                                                           : "@PJL RESUME_JOB\r\nRESUME_STATUS=\"";
            reply += bCommandAccepted ? "0" : "2";
            reply += "\"\r\n";
            break;
        }
        case PjlCommand::Unknown:
            reply += "@PJL UNKNOWN COMMAND\r\n";
            break;
        }
    }
    reply += kUel;
    return reply;
}
