#include "ui/tray_tip.h"

namespace tray_tip {

namespace {

// Where the character that starts at nPos ends.
std::size_t NextCharacter(const std::string& strText, std::size_t nPos, UINT nCodePage) {
    const auto byteAt = [&strText](std::size_t n) { return static_cast<unsigned char>(strText[n]); };
    std::size_t nNext = nPos + 1;
    if (nCodePage == CP_UTF8) {
        while (nNext < strText.size() && (byteAt(nNext) & 0xC0) == 0x80)
            ++nNext;
    } else if (IsDBCSLeadByteEx(nCodePage, byteAt(nPos)) && nNext < strText.size()) {
        ++nNext;
    }
    return nNext;
}

// The longest start of the text, of at most nMaxBytes, made of whole characters.
std::string Head(const std::string& strText, std::size_t nMaxBytes, UINT nCodePage) {
    std::size_t nEnd = 0;
    while (nEnd < strText.size()) {
        const std::size_t nNext = NextCharacter(strText, nEnd, nCodePage);
        if (nNext > nMaxBytes)
            break;
        nEnd = nNext;
    }
    return strText.substr(0, nEnd);
}

} // namespace

std::string ErrorTip(const std::string& strProduct, const std::string& strPrinter, UINT nCodePage) {
    if (nCodePage == CP_ACP)
        nCodePage = GetACP();
    const std::string strSeparator = " - ";
    const std::string strEllipsis = "...";
    if (strProduct.size() + strSeparator.size() + strEllipsis.size() >= kMaxTip)
        return Head(strProduct, kMaxTip, nCodePage);
    const std::size_t nRoom = kMaxTip - strProduct.size() - strSeparator.size();
    if (strPrinter.size() <= nRoom)
        return strProduct + strSeparator + strPrinter;
    return strProduct + strSeparator + Head(strPrinter, nRoom - strEllipsis.size(), nCodePage) + strEllipsis;
}

} // namespace tray_tip
