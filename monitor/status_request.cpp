#include "monitor/status_request.h"

#include "app/json/json_text.h"

const char* StatusFaultName(StatusFault fault) {
    switch (fault) {
    case StatusFault::None:
        return "none";
    case StatusFault::InvalidUtf8:
        return "invalid-utf8";
    case StatusFault::MalformedJson:
        return "malformed-json";
    case StatusFault::UnknownRequest:
        return "unknown-request";
    case StatusFault::UnsupportedVersion:
        return "unsupported-version";
    case StatusFault::LineTooLong:
        return "line-too-long";
    case StatusFault::IdleTimeout:
        return "idle-timeout";
    case StatusFault::NoSuchPrinter:
        return "no-such-printer";
    }
    return "unknown";
}

StatusFault ParseStatusRequest(const std::string& strLine, CStatusRequest& request) {
    request = CStatusRequest();
    CJsonValue value;
    switch (ParseJson(strLine, value)) {
    case JsonError::None:
        break;
    case JsonError::InvalidUtf8:
        return StatusFault::InvalidUtf8;
    case JsonError::Malformed:
    case JsonError::TooDeep:
        return StatusFault::MalformedJson;
    }
    if (value.GetKind() != CJsonValue::Kind::Object)
        return StatusFault::MalformedJson;
    const CJsonValue* pVersion = value.Find("version");
    if (!pVersion || pVersion->GetKind() != CJsonValue::Kind::Number)
        return StatusFault::UnsupportedVersion;
    if (pVersion->AsNumber() != kStatusProtocolVersion)
        return StatusFault::UnsupportedVersion;
    const std::string strRequest = value.StringOf("request");
    if (strRequest == "list") {
        request.kind = StatusRequestKind::List;
        return StatusFault::None;
    }
    if (strRequest == "watch") {
        request.kind = StatusRequestKind::Watch;
        return StatusFault::None;
    }
    const CJsonValue* pName = value.Find("name");
    if (strRequest == "printer" && pName && pName->GetKind() == CJsonValue::Kind::String) {
        request.kind = StatusRequestKind::Printer;
        request.strName = pName->AsString();
        return StatusFault::None;
    }
    return StatusFault::UnknownRequest;
}

bool CStatusLineReader::Feed(const char* p, std::size_t n, std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < n && !m_bFailed; ++i) {
        if (p[i] != '\n') {
            m_strPending += p[i];
            // One byte more for a "\r" that may still precede the line break.
            m_bFailed = m_strPending.size() > kMaxLine + 1 ||
                        (m_strPending.size() == kMaxLine + 1 && m_strPending.back() != '\r');
            continue;
        }
        if (!m_strPending.empty() && m_strPending.back() == '\r')
            m_strPending.pop_back();
        lines.push_back(std::move(m_strPending));
        m_strPending.clear();
    }
    return !m_bFailed;
}
