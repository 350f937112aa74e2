#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_request.h"
#include "tests/common/trace_capture.h"

namespace {

struct FrameCase {
    const PjlRequest* pRequest;
    std::uint32_t dwConnectTimeOut;
    std::string strFrame; // written out byte by byte
};

const FrameCase kFrameCases[] = {
    {&kPjlStatusRequest, 1000,
     "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  INFO CURRENT_STATUS\r\n\x1b%-12345X"},
    {&kPjlInfoRequest, 5000,
     "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  INFO INFORMATIONS\r\n\x1b%-12345X"},
    {&kPjlCancelRequest, 5000,
     "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  CANCEL_JOB\r\n\x1b%-12345X"},
    {&kPjlResumeRequest, 5000,
     "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  RESUME_JOB\r\n\x1b%-12345X"},
};

} // namespace

TEST(PjlFrame, EveryRequestFrameByteForByte) {
    const std::size_t kLengths[] = {83, 81, 74, 74};
    for (std::size_t i = 0; i < std::size(kFrameCases); ++i) {
        const FrameCase& c = kFrameCases[i];
        SCOPED_TRACE(c.pRequest->pszThreadClass);
        const std::string frame = BuildPjlFrame(FormatPjlEchoLine(9, 5, 7), c.pRequest->pszCommand);
        EXPECT_EQ(c.strFrame, frame);
        EXPECT_EQ(kLengths[i], frame.size());
        EXPECT_EQ(c.dwConnectTimeOut, c.pRequest->dwConnectTimeOut);
        EXPECT_EQ(3000u, c.pRequest->dwReceiveTimeOut);
    }
}

TEST(PjlFrame, EchoLineAtTheEdgesOfTheDay) {
    CTraceCapture trace;
    EXPECT_EQ("@PJL ECHO Status at 00:00:00.0", FormatPjlEchoLine(0, 0, 0));
    EXPECT_EQ("@PJL ECHO Status at 23:59:59.0", FormatPjlEchoLine(23, 59, 59));
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(PjlFrame, EchoLineOutOfRangeKeepsItsLength) {
    CTraceCapture trace;
    EXPECT_EQ("@PJL ECHO Status at 00:00:01.0", FormatPjlEchoLine(24, 60, 61));
    EXPECT_EQ(std::vector<std::string>{"CLanThread::InitInstance() : Time 24:60:61 out of range\n"},
              trace.Lines());
    EXPECT_EQ("@PJL ECHO Status at 04:59:00.0", FormatPjlEchoLine(100, 59, 0));
}
