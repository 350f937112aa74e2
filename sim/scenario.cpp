#include "sim/scenario.h"

#include <cstddef>
#include <fstream>

#include "app/format.h"
#include "monitor/device_status.h"
#include "sim/parse_number.h"

namespace {

constexpr std::size_t kMaxScriptSize = 1 << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// A field as an error message can show it: bytes outside printable ASCII become '?'.
std::string Printable(const std::string& strField) {
    std::string text = strField;
    for (char& c : text)
        if (c < ' ' || c > '~')
            c = '?';
    return text;
}

std::vector<std::string> SplitFields(const std::string& strLine) {
    std::vector<std::string> fields;
    std::size_t end = strLine.find('#');
    if (end == std::string::npos)
        end = strLine.size();
    std::size_t pos = 0;
    while (pos < end) {
        while (pos < end && IsBlank(strLine[pos]))
            ++pos;
        std::size_t start = pos;
        while (pos < end && !IsBlank(strLine[pos]))
            ++pos;
        if (pos > start)
            fields.push_back(strLine.substr(start, pos - start));
    }
    return fields;
}

class CLineParser {
public:
    CLineParser(int nLine, std::string& strError) : m_nLine(nLine), m_strError(strError) {}

    bool Field(const char* pszName, const std::string& strField, std::uint32_t maxValue,
               std::uint32_t& value) {
        switch (ParseNumber(strField, maxValue, value)) {
        case NumberResult::kOk:
            return true;
        case NumberResult::kNotANumber:
            m_strError =
                Format("line %d: %s \"%s\" is not a number", m_nLine, pszName, Printable(strField).c_str());
            return false;
        case NumberResult::kOutOfRange:
            break;
        }
        m_strError =
            Format("line %d: %s %s is out of range (0 to %u)", m_nLine, pszName, strField.c_str(), maxValue);
        return false;
    }

    bool Byte(const char* pszName, const std::string& strField, std::uint8_t& value) {
        std::uint32_t wide = 0;
        if (!Field(pszName, strField, 0xFF, wide))
            return false;
        value = static_cast<std::uint8_t>(wide);
        return true;
    }

private:
    int m_nLine;
    std::string& m_strError;
};

bool ParseStep(const std::vector<std::string>& fields, int nLine, const Scenario& steps, ScenarioStep& step,
               std::string& strError) {
    if (fields.size() != 5 && fields.size() != 6) {
        strError = Format("line %d: expected 5 fields (time state phase progress code) and an optional "
                          "\"hold\", found %d",
                          nLine, static_cast<int>(fields.size()));
        return false;
    }
    CLineParser parser(nLine, strError);
    if (!parser.Field("time", fields[0], 0xFFFFFFFF, step.timeMs) ||
        !parser.Byte("state", fields[1], step.state) || !parser.Byte("phase", fields[2], step.phase) ||
        !parser.Byte("progress", fields[3], step.progress) ||
        !parser.Field("code", fields[4], 0xFFFFFFFF, step.code))
        return false;
    if (!steps.empty() && step.timeMs < steps.back().timeMs) {
        strError = Format("line %d: time %u is before the previous step's time %u", nLine, step.timeMs,
                          steps.back().timeMs);
        return false;
    }
    if (fields.size() == 6) {
        if (fields[5] != "hold") {
            strError = Format("line %d: unknown marker \"%s\" (only \"hold\" is allowed)", nLine,
                              Printable(fields[5]).c_str());
            return false;
        }
        if (!IsErrorCode(step.code, nullptr)) {
            strError =
                Format("line %d: hold needs an error code (above 0x07FFFFFF), not 0x%08X", nLine, step.code);
            return false;
        }
        step.hold = true;
    }
    return true;
}

} // namespace

ScenarioStep ReadyStep() {
    return ScenarioStep();
}

bool ParseScenario(const std::string& strText, Scenario& steps, std::string& strError) {
    steps.clear();
    Scenario parsed;
    int nLine = 0;
    std::size_t pos = 0;
    while (pos < strText.size()) {
        std::size_t end = strText.find('\n', pos);
        if (end == std::string::npos)
            end = strText.size();
        ++nLine;
        const std::vector<std::string> fields = SplitFields(strText.substr(pos, end - pos));
        pos = end + 1;
        if (fields.empty())
            continue;
        ScenarioStep step;
        if (!ParseStep(fields, nLine, parsed, step, strError))
            return false;
        parsed.push_back(step);
    }
    if (parsed.empty()) {
        strError = "the script has no steps";
        return false;
    }
    steps.swap(parsed);
    return true;
}

bool LoadScenarioFile(const std::string& strPath, Scenario& steps, std::string& strError) {
    steps.clear();
    std::ifstream file(strPath, std::ios::binary);
    if (!file) {
        strError = strPath + ": cannot be read";
        return false;
    }
    std::string strText;
    char buffer[4096];
    while (file.read(buffer, sizeof(buffer)) || file.gcount() > 0) {
        strText.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (strText.size() > kMaxScriptSize) {
            strError = strPath + ": larger than 1 MiB";
            return false;
        }
    }
    if (file.bad()) {
        strError = strPath + ": cannot be read";
        return false;
    }
    if (!ParseScenario(strText, steps, strError)) {
        strError = strPath + ": " + strError;
        return false;
    }
    return true;
}
