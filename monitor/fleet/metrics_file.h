// The agent's metrics file, nyagent_session<id>.prom in the folder of the
// machine's setting: written under a temporary name in the same folder, then
// moved over the previous file, so that a reader sees either file whole. A
// folder that cannot be written is traced once, until a write succeeds again.
#pragma once

#include <cstdint>
#include <string>

class CMetricsFile {
public:
    explicit CMetricsFile(std::uint32_t nSession);
    CMetricsFile(const CMetricsFile&) = delete;
    CMetricsFile& operator=(const CMetricsFile&) = delete;
    // The file goes with its writer.
    ~CMetricsFile() { Remove(); }

    // strFolder is not empty. A folder other than the last one's takes the
    // file from the last one.
    bool Write(const std::wstring& strFolder, const std::string& strText);
    // Removes the file written last, if any.
    void Remove();

private:
    std::wstring m_strFileName;
    // Where the last file went; empty when there is none.
    std::wstring m_strWrittenPath;
    bool m_bFailing = false;
};
