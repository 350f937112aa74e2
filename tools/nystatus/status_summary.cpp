#include "tools/nystatus/status_summary.h"

#include <algorithm>
#include <cstddef>

#include "tools/nystatus/status_options.h"

namespace {

// Worse states rank higher.
int Rank(int nExit) {
    switch (nExit) {
    case kExitError:
        return 3;
    case kExitNotConnected:
        return 2;
    case kExitPrinting:
        return 1;
    default:
        return 0;
    }
}

std::size_t Characters(const std::string& str) {
    return static_cast<std::size_t>(std::count_if(
        str.begin(), str.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Number(const CJsonValue* pValue) {
    return pValue && pValue->GetKind() == CJsonValue::Kind::Number
               ? std::to_string(static_cast<long long>(pValue->AsNumber())) + "%"
               : std::string();
}

} // namespace

int ExitCodeOfPrinter(const CJsonValue& printer) {
    const std::string strState = printer.StringOf("state");
    const CJsonValue* pConnected = printer.Find("connected");
    const bool bConnected =
        pConnected && pConnected->GetKind() == CJsonValue::Kind::Bool && pConnected->AsBool();
    if (strState == "error")
        return kExitError;
    if (strState == "printing")
        return kExitPrinting;
    if (strState == "idle" && bConnected)
        return kExitReady;
    return kExitNotConnected;
}

int WorstExitCode(const std::vector<CJsonValue>& printers) {
    if (printers.empty())
        return kExitNoSuchPrinter;
    int nWorst = kExitReady;
    for (const CJsonValue& printer : printers) {
        const int nExit = ExitCodeOfPrinter(printer);
        if (Rank(nExit) > Rank(nWorst))
            nWorst = nExit;
    }
    return nWorst;
}

bool CWatchedPrinters::Apply(const CJsonValue& line) {
    const std::string strAnswer = line.StringOf("answer");
    const CJsonValue* pPrinters = line.Find("printers");
    if (strAnswer == "watch" && pPrinters && pPrinters->GetKind() == CJsonValue::Kind::Array) {
        m_printers = pPrinters->Items();
        return true;
    }
    const std::string strName = strAnswer == "removed"
                                    ? line.StringOf("name")
                                    : (line.Find("printer") ? line.Find("printer")->StringOf("name") : "");
    if ((strAnswer != "changed" && strAnswer != "removed") || strName.empty())
        return false;
    auto it = std::find_if(m_printers.begin(), m_printers.end(),
                           [&](const CJsonValue& printer) { return printer.StringOf("name") == strName; });
    if (strAnswer == "removed") {
        if (it != m_printers.end())
            m_printers.erase(it);
    } else if (it != m_printers.end()) {
        *it = *line.Find("printer");
    } else {
        m_printers.push_back(*line.Find("printer"));
    }
    return true;
}

int CWatchedPrinters::ExitCode(const std::string& strPrinter) const {
    if (strPrinter.empty())
        return WorstExitCode(m_printers);
    for (const CJsonValue& printer : m_printers) {
        if (printer.StringOf("name") == strPrinter)
            return ExitCodeOfPrinter(printer);
    }
    return kExitNoSuchPrinter;
}

std::string FormatPrinterTable(const std::vector<CJsonValue>& printers) {
    std::vector<std::vector<std::string>> rows = {{"PRINTER", "ROAD", "STATE", "TASK", "TOTAL", "STATUS"}};
    for (const CJsonValue& printer : printers) {
        std::string strStatus = printer.StringOf("state_text");
        const std::string strAdvice = printer.StringOf("advice");
        if (!strAdvice.empty())
            strStatus += (strStatus.empty() ? "" : ": ") + strAdvice;
        const bool bPrinting = printer.StringOf("state") == "printing";
        rows.push_back({printer.StringOf("name"), printer.StringOf("road"), printer.StringOf("state"),
                        bPrinting ? Number(printer.Find("task")) : "",
                        bPrinting ? Number(printer.Find("total")) : "", strStatus});
    }
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], Characters(row[i]));
    }
    std::string strTable;
    for (const auto& row : rows) {
        std::string strLine;
        for (std::size_t i = 0; i < row.size(); ++i) {
            strLine += row[i];
            if (i + 1 < row.size())
                strLine += std::string(widths[i] - Characters(row[i]) + 2, ' ');
        }
        strLine.erase(strLine.find_last_not_of(' ') + 1);
        strTable += strLine + "\n";
    }
    return strTable;
}
