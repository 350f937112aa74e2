// The status protocol's requests: one JSON object a line, UTF-8, with the
// protocol version (docs/status-protocol.md). The line reader cuts the bytes
// of a connection into lines and refuses a line longer than kMaxLine; the
// parser turns one line into a request. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr int kStatusProtocolVersion = 1;

enum class StatusRequestKind { List, Printer, Watch };

// What is wrong with a request; each has its name in the error answer.
enum class StatusFault {
    None,
    InvalidUtf8,
    MalformedJson,
    UnknownRequest,
    UnsupportedVersion,
    LineTooLong,
    IdleTimeout,
    NoSuchPrinter,
};

struct CStatusRequest {
    StatusRequestKind kind = StatusRequestKind::List;
    // The printer's name, for StatusRequestKind::Printer.
    std::string strName;
};

// "invalid-utf8", "malformed-json", ...; the protocol's names.
const char* StatusFaultName(StatusFault fault);

// Parses one line (without its line break).
StatusFault ParseStatusRequest(const std::string& strLine, CStatusRequest& request);

class CStatusLineReader {
public:
    // The longest line, without its line break.
    static constexpr std::size_t kMaxLine = 4096;

    // Takes the bytes that arrived and appends each line they complete,
    // without "\n" or "\r\n", to lines. FALSE once the line under way passes
    // kMaxLine: the connection is then closed, and the reader takes nothing more.
    bool Feed(const char* p, std::size_t n, std::vector<std::string>& lines);

private:
    std::string m_strPending;
    bool m_bFailed = false;
};
