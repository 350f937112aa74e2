// Collects the agent's trace lines while a test runs, so that tests can
// assert them word for word.
#pragma once

#include <string>
#include <vector>

class CTraceCapture {
public:
    CTraceCapture();
    ~CTraceCapture();
    CTraceCapture(const CTraceCapture&) = delete;
    CTraceCapture& operator=(const CTraceCapture&) = delete;

    std::vector<std::string> Lines() const;
    // Number of captured lines equal to strLine.
    int Count(const std::string& strLine) const;
    void Clear();
};

// Where each platform's trace hook hands a line.
void AppendTraceLine(std::string strLine);
