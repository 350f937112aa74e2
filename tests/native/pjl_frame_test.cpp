#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/lan/pjl_frame.h"
#include "devices/lan/pjl_request.h"
#include "tests/common/trace_capture.h"

TEST(PjlFrame, EveryRequestFrameByteForByte) {
    const struct {
        const PjlRequest* pRequest;
        std::string strFrame;
    } cases[] = {
        {&kPjlStatusRequest,
         "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  INFO CURRENT_STATUS\r\n\x1b%-12345X"},
        {&kPjlInfoRequest,
         "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  INFO INFORMATIONS\r\n\x1b%-12345X"},
        {&kPjlCancelRequest,
         "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  CANCEL_JOB\r\n\x1b%-12345X"},
        {&kPjlResumeRequest,
         "\x1b%-12345X@PJL\r\n@PJL ECHO Status at 09:05:07.0\r\n@PJL  RESUME_JOB\r\n\x1b%-12345X"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.strFrame, BuildPjlFrame(FormatPjlEchoLine(9, 5, 7), c.pRequest->pszCommand));
}

TEST(PjlFrame, EchoLineKeepsItsLengthOutOfRange) {
    CTraceCapture trace;
    EXPECT_EQ("@PJL ECHO Status at 00:00:00.0", FormatPjlEchoLine(0, 0, 0));
    EXPECT_EQ("@PJL ECHO Status at 23:59:59.0", FormatPjlEchoLine(23, 59, 59));
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_EQ("@PJL ECHO Status at 00:00:01.0", FormatPjlEchoLine(24, 60, 61));
    EXPECT_EQ(std::vector<std::string>{"CLanThread::InitInstance() : Time 24:60:61 out of range\n"},
              trace.Lines());
    EXPECT_EQ("@PJL ECHO Status at 04:59:00.0", FormatPjlEchoLine(100, 59, 0));
}
