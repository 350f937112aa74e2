// NyStatus.exe: asks the agent of this session for its printers' status over
// the agent's status pipe, for kiosk scripts (README, docs/status-protocol.md).
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/json/json_text.h"
#include "monitor/status_pipe_security.h"
#include "tools/nystatus/status_options.h"
#include "tools/nystatus/status_pipe_client.h"
#include "tools/nystatus/status_summary.h"

namespace {

// How long the agent may take to accept the connection and to answer.
constexpr DWORD kAnswerMs = 10000;

HANDLE g_hInterrupt = nullptr;

BOOL WINAPI OnConsoleControl(DWORD dwType) {
    if (dwType != CTRL_C_EVENT && dwType != CTRL_BREAK_EVENT && dwType != CTRL_CLOSE_EVENT)
        return FALSE;
    SetEvent(g_hInterrupt);
    return TRUE;
}

std::string ToUtf8(const wchar_t* psz) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    std::string str(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, psz, -1, &str[0], n, nullptr, nullptr);
    str.resize(str.size() - 1);
    return str;
}

// UTF-8 text to a console as characters, to a file or pipe as bytes.
void Write(DWORD dwStdHandle, const std::string& strText) {
    const HANDLE hOut = GetStdHandle(dwStdHandle);
    DWORD dwMode = 0;
    DWORD dwWritten = 0;
    if (GetConsoleMode(hOut, &dwMode)) {
        const int n =
            MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
        std::wstring strWide(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), &strWide[0], n);
        WriteConsoleW(hOut, strWide.data(), static_cast<DWORD>(n), &dwWritten, nullptr);
    } else {
        WriteFile(hOut, strText.data(), static_cast<DWORD>(strText.size()), &dwWritten, nullptr);
    }
}

int Fail(int nExit, const std::string& strMessage) {
    Write(STD_ERROR_HANDLE, "NyStatus: " + strMessage + "\n");
    return nExit;
}

int ExitOfTransport(CStatusPipeClient::Result result) {
    switch (result) {
    case CStatusPipeClient::Result::TimeOut:
        return Fail(kExitTimeOut, "the agent did not answer in time");
    default:
        return Fail(kExitNoAgent, "no agent runs in this session");
    }
}

std::string Request(const char* pszRequest, const std::string& strPrinter) {
    CJsonValue request = CJsonValue::Object();
    request.Set("version", CJsonValue::Number(1)).Set("request", CJsonValue::String(pszRequest));
    if (!strPrinter.empty())
        request.Set("name", CJsonValue::String(strPrinter));
    return WriteJson(request) + "\n";
}

// One answer: the table (or the agent's line) and the state's exit code.
int Query(CStatusPipeClient& client, const CNyStatusOptions& options) {
    const std::string strRequest =
        Request(options.strPrinter.empty() ? "list" : "printer", options.strPrinter);
    CStatusPipeClient::Result result = client.Send(strRequest, kAnswerMs, nullptr);
    std::string strLine;
    if (result == CStatusPipeClient::Result::Ok)
        result = client.ReadLine(strLine, kAnswerMs, nullptr);
    if (result != CStatusPipeClient::Result::Ok)
        return ExitOfTransport(result);
    CJsonValue answer;
    if (ParseJson(strLine, answer) != JsonError::None)
        return Fail(kExitNoAgent, "the agent's answer is no JSON");
    if (answer.StringOf("error") == "no-such-printer") {
        if (options.mode == NyStatusMode::Json)
            Write(STD_OUTPUT_HANDLE, strLine + "\n");
        return Fail(kExitNoSuchPrinter, "no printer \"" + options.strPrinter + "\"");
    }
    std::vector<CJsonValue> printers;
    if (const CJsonValue* pPrinter = answer.Find("printer"))
        printers.push_back(*pPrinter);
    else if (const CJsonValue* pPrinters = answer.Find("printers"))
        printers = pPrinters->Items();
    else
        return Fail(kExitNoAgent, "the agent refused the request: " + answer.StringOf("error"));
    Write(STD_OUTPUT_HANDLE,
          options.mode == NyStatusMode::Json ? strLine + "\n" : FormatPrinterTable(printers));
    return WorstExitCode(printers);
}

// --wait ready and --watch: a watch, line by line.
int Watch(CStatusPipeClient& client, const CNyStatusOptions& options) {
    CStatusPipeClient::Result result = client.Send(Request("watch", ""), kAnswerMs, g_hInterrupt);
    const bool bWait = options.mode == NyStatusMode::WaitReady;
    const ULONGLONG nEnd = bWait && options.dTimeoutSeconds >= 0
                               ? GetTickCount64() + static_cast<ULONGLONG>(options.dTimeoutSeconds * 1000)
                               : 0;
    CWatchedPrinters printers;
    while (result == CStatusPipeClient::Result::Ok) {
        DWORD dwLeft = INFINITE;
        if (nEnd != 0) {
            const ULONGLONG nNow = GetTickCount64();
            dwLeft = nNow >= nEnd ? 0 : static_cast<DWORD>(nEnd - nNow);
        }
        std::string strLine;
        result = client.ReadLine(strLine, dwLeft, g_hInterrupt);
        if (result != CStatusPipeClient::Result::Ok)
            break;
        CJsonValue line;
        if (ParseJson(strLine, line) != JsonError::None || !printers.Apply(line))
            return Fail(kExitNoAgent, "the agent's answer is no watch line");
        if (bWait && printers.ExitCode(options.strPrinter) == kExitReady)
            return kExitReady;
        const CJsonValue* pPrinter = line.Find("printer");
        const std::string strName = pPrinter ? pPrinter->StringOf("name") : line.StringOf("name");
        if (!bWait && (options.strPrinter.empty() || line.StringOf("answer") == "watch" ||
                       strName == options.strPrinter))
            Write(STD_OUTPUT_HANDLE, strLine + "\n");
    }
    if (result == CStatusPipeClient::Result::Interrupted)
        return bWait ? printers.ExitCode(options.strPrinter) : 0;
    if (result == CStatusPipeClient::Result::TimeOut)
        return printers.ExitCode(options.strPrinter);
    return Fail(kExitNoAgent, "the agent went");
}

} // namespace

int main() {
    int nArgs = 0;
    LPWSTR* ppszArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    std::vector<std::string> args;
    for (int i = 1; ppszArgs && i < nArgs; ++i)
        args.push_back(ToUtf8(ppszArgs[i]));
    LocalFree(ppszArgs);
    CNyStatusOptions options;
    std::string strError;
    if (!ParseNyStatusArguments(args, options, strError)) {
        Write(STD_ERROR_HANDLE, "NyStatus: " + strError + "\n" + NyStatusUsage());
        return kExitUsage;
    }
    g_hInterrupt = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    CStatusPipeClient client;
    const CStatusPipeClient::Result result =
        client.Connect(CStatusPipeSecurity::SessionPipeName(), kAnswerMs);
    if (result != CStatusPipeClient::Result::Ok)
        return ExitOfTransport(result);
    const bool bWatch = options.mode == NyStatusMode::WaitReady || options.mode == NyStatusMode::Watch;
    return bWatch ? Watch(client, options) : Query(client, options);
}
