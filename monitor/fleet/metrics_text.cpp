#include "monitor/fleet/metrics_text.h"

#include <algorithm>

namespace {

// Each state with the name of its series.
constexpr struct {
    PrinterState state;
    const char* pszName;
} kStates[] = {{PrinterState::Idle, "idle"},
               {PrinterState::Printing, "printing"},
               {PrinterState::Error, "error"},
               {PrinterState::NotConnected, "not_connected"}};

// A fixed-point number: nValue / 10^nDecimals, without trailing zeros.
std::string FixedPoint(std::int64_t nValue, int nDecimals) {
    const bool bNegative = nValue < 0;
    const std::uint64_t nMagnitude =
        bNegative ? 0 - static_cast<std::uint64_t>(nValue) : static_cast<std::uint64_t>(nValue);
    std::uint64_t nScale = 1;
    for (int i = 0; i < nDecimals; ++i)
        nScale *= 10;
    std::string strText = (bNegative ? "-" : "") + std::to_string(nMagnitude / nScale);
    std::string strFraction = std::to_string(nMagnitude % nScale);
    strFraction.insert(0, static_cast<std::size_t>(nDecimals) - strFraction.size(), '0');
    while (!strFraction.empty() && strFraction.back() == '0')
        strFraction.pop_back();
    return strFraction.empty() ? strText : strText + "." + strFraction;
}

std::string Ratio(int nPercent) {
    return FixedPoint(std::clamp(nPercent, 0, 100), 2);
}

class CWriter {
public:
    explicit CWriter(const CAgentMetrics& metrics) : m_metrics(metrics) {}

    void Family(const char* pszName, const char* pszType, const char* pszHelp) {
        m_strText += std::string("# HELP ") + pszName + " " + pszHelp + "\n";
        m_strText += std::string("# TYPE ") + pszName + " " + pszType + "\n";
    }
    void Sample(const char* pszName, const std::string& strLabels, const std::string& strValue) {
        m_strText += pszName;
        if (!strLabels.empty())
            m_strText += "{" + strLabels + "}";
        m_strText += " " + strValue + "\n";
    }
    std::string PrinterLabels(const CPrinterMetrics& p) const {
        return Label("printer", p.printer.strName) + "," + Label("port", p.printer.strPort) + "," +
               Label("road", RoadName(p.printer.road)) + "," + Label("model", p.strModel) + "," +
               Label("session", std::to_string(m_metrics.nSession));
    }
    static std::string Label(const char* pszName, const std::string& strValue) {
        return std::string(pszName) + "=\"" + EscapeLabelValue(strValue) + "\"";
    }
    std::string& Text() { return m_strText; }

private:
    const CAgentMetrics& m_metrics;
    std::string m_strText;
};

} // namespace

std::string EscapeLabelValue(const std::string& strValue) {
    std::string strEscaped;
    strEscaped.reserve(strValue.size());
    for (const char c : strValue) {
        if (c == '\\')
            strEscaped += "\\\\";
        else if (c == '"')
            strEscaped += "\\\"";
        else if (c == '\n')
            strEscaped += "\\n";
        else
            strEscaped += c;
    }
    return strEscaped;
}

std::string EncodeMetrics(const CAgentMetrics& metrics) {
    std::vector<const CPrinterMetrics*> printers;
    for (const CPrinterMetrics& printer : metrics.printers)
        printers.push_back(&printer);
    std::stable_sort(printers.begin(), printers.end(),
                     [](const CPrinterMetrics* a, const CPrinterMetrics* b) {
                         return a->printer.strName < b->printer.strName;
                     });

    CWriter out(metrics);
    out.Family("nyagent_agent_info", "gauge",
               "The agent that writes these metrics: its version and session.");
    out.Sample("nyagent_agent_info",
               CWriter::Label("version", metrics.strVersion) + "," +
                   CWriter::Label("session", std::to_string(metrics.nSession)),
               "1");
    out.Family("nyagent_last_update_timestamp_seconds", "gauge",
               "When the agent last wrote its metrics, in seconds since 1970.");
    out.Sample("nyagent_last_update_timestamp_seconds", "", FixedPoint(metrics.nTimestampMs, 3));
    if (printers.empty())
        return out.Text();

    // One family: its header, then each printer's sample from the value it gives.
    const auto family = [&](const char* pszName, const char* pszType, const char* pszHelp, auto value) {
        out.Family(pszName, pszType, pszHelp);
        for (const CPrinterMetrics* p : printers)
            out.Sample(pszName, out.PrinterLabels(*p), value(*p));
    };
    family("nyagent_printer_connected", "gauge", "1 while the agent has a link to the printer, 0 otherwise.",
           [](const CPrinterMetrics& p) {
               return std::string(StateOfEntry(p.printer) != PrinterState::NotConnected ? "1" : "0");
           });
    out.Family("nyagent_printer_state", "gauge",
               "The printer's state: 1 for the current one (idle, printing, error, not_connected), 0 for the "
               "others.");
    for (const CPrinterMetrics* p : printers)
        for (const auto& state : kStates)
            out.Sample("nyagent_printer_state",
                       out.PrinterLabels(*p) + "," + CWriter::Label("state", state.pszName),
                       StateOfEntry(p->printer) == state.state ? "1" : "0");
    family("nyagent_printer_error_code", "gauge", "The printer's status code while in error, 0 otherwise.",
           [](const CPrinterMetrics& p) { return std::to_string(ErrorCodeOfEntry(p.printer)); });
    family("nyagent_printer_task_progress_ratio", "gauge",
           "The progress of the printer's current task, 0 to 1.",
           [](const CPrinterMetrics& p) { return Ratio(p.printer.nTask); });
    family("nyagent_printer_total_progress_ratio", "gauge",
           "The progress of the printer's whole job, 0 to 1.",
           [](const CPrinterMetrics& p) { return Ratio(p.printer.nTotal); });
    family("nyagent_printer_errors_total", "counter", "Errors the printer raised since the agent started.",
           [](const CPrinterMetrics& p) { return std::to_string(p.nErrorsTotal); });
    return out.Text();
}
