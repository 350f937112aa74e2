#include "app/agent_settings.h"

#include "app/registry.h"

void CAgentSettings::Read() {
    CRegistry::GetOpenOnError(m_bOpenOnError, TRUE);
    CRegistry::GetOpenWhenPrinting(m_bOpenWhenPrinting, TRUE);
    CRegistry::GetUseNyStatusMonitor(m_bUseNyStatusMonitor, FALSE);
    m_bRead = TRUE;
}

void CAgentSettings::SetOpenOnErrorSetting(BOOL bOpenOnError) {
    m_bOpenOnError = bOpenOnError;
    m_bOpenOnErrorChanged = true;
}

void CAgentSettings::SetOpenWhenPrintingSetting(BOOL bOpenWhenPrinting) {
    m_bOpenWhenPrinting = bOpenWhenPrinting;
    m_bOpenWhenPrintingChanged = true;
}

void CAgentSettings::Save() {
    // A second instance or a "destroyall" run would otherwise overwrite the
    // user's choices with the defaults.
    if (!m_bRead)
        return;
    if (m_bOpenOnErrorChanged)
        CRegistry::SetOpenOnError(m_bOpenOnError);
    if (m_bOpenWhenPrintingChanged)
        CRegistry::SetOpenWhenPrinting(m_bOpenWhenPrinting);
    m_bOpenOnErrorChanged = false;
    m_bOpenWhenPrintingChanged = false;
}
