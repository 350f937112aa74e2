#include "app/json/json_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The length of the UTF-8 sequence at p (1 to 4), or 0 when it is invalid.
std::size_t Utf8Length(const unsigned char* p, std::size_t nLeft) {
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    std::size_t nLength = 0;
    unsigned char bLow = 0x80;
    unsigned char bHigh = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        nLength = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        nLength = 3;
        if (b == 0xE0)
            bLow = 0xA0; // overlong
        else if (b == 0xED)
            bHigh = 0x9F; // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        nLength = 4;
        if (b == 0xF0)
            bLow = 0x90; // overlong
        else if (b == 0xF4)
            bHigh = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (nLeft < nLength || p[1] < bLow || p[1] > bHigh)
        return 0;
    for (std::size_t i = 2; i < nLength; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return nLength;
}

void AppendUtf8(std::uint32_t nCode, std::string& str) {
    if (nCode < 0x80) {
        str += static_cast<char>(nCode);
    } else if (nCode < 0x800) {
        str += static_cast<char>(0xC0 | (nCode >> 6));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    } else if (nCode < 0x10000) {
        str += static_cast<char>(0xE0 | (nCode >> 12));
        str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    } else {
        str += static_cast<char>(0xF0 | (nCode >> 18));
        str += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
        str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

// A recursive-descent reader over text already known to be UTF-8.
class CReader {
public:
    explicit CReader(const std::string& strText) : m_str(strText) {}

    JsonError ReadDocument(CJsonValue& value) {
        SkipBlanks();
        if (!ReadValue(value, 0))
            return m_error;
        SkipBlanks();
        return m_nPos == m_str.size() ? JsonError::None : JsonError::Malformed;
    }

private:
    bool Fail(JsonError error = JsonError::Malformed) {
        m_error = error;
        return false;
    }
    bool AtEnd() const { return m_nPos >= m_str.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_str[m_nPos]; }
    void SkipBlanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++m_nPos;
    }
    bool Literal(const char* psz) {
        for (; *psz; ++psz, ++m_nPos) {
            if (Peek() != *psz)
                return Fail();
        }
        return true;
    }

    bool ReadValue(CJsonValue& value, int nDepth) {
        switch (Peek()) {
        case '{':
            return ReadObject(value, nDepth + 1);
        case '[':
            return ReadArray(value, nDepth + 1);
        case '"': {
            std::string str;
            if (!ReadString(str))
                return false;
            value = CJsonValue::String(std::move(str));
            return true;
        }
        case 't':
            value = CJsonValue::Bool(true);
            return Literal("true");
        case 'f':
            value = CJsonValue::Bool(false);
            return Literal("false");
        case 'n':
            value = CJsonValue();
            return Literal("null");
        default:
            return ReadNumber(value);
        }
    }

    // Reads an object or an array from its opening character to chClose;
    // fnElement reads one member or item into value.
    template <typename TReadElement>
    bool ReadContainer(CJsonValue& value, CJsonValue empty, char chClose, int nDepth,
                       TReadElement fnElement) {
        if (nDepth > kMaxJsonDepth)
            return Fail(JsonError::TooDeep);
        value = std::move(empty);
        ++m_nPos;
        SkipBlanks();
        if (Peek() == chClose) {
            ++m_nPos;
            return true;
        }
        for (;;) {
            if (!fnElement())
                return false;
            SkipBlanks();
            if (Peek() == chClose) {
                ++m_nPos;
                return true;
            }
            if (Peek() != ',')
                return Fail();
            ++m_nPos;
            SkipBlanks();
        }
    }

    bool ReadObject(CJsonValue& value, int nDepth) {
        return ReadContainer(value, CJsonValue::Object(), '}', nDepth, [&] {
            std::string strName;
            if (Peek() != '"' || !ReadString(strName))
                return Fail();
            SkipBlanks();
            if (Peek() != ':')
                return Fail();
            ++m_nPos;
            SkipBlanks();
            CJsonValue member;
            if (!ReadValue(member, nDepth))
                return false;
            value.Set(std::move(strName), std::move(member));
            return true;
        });
    }

    bool ReadArray(CJsonValue& value, int nDepth) {
        return ReadContainer(value, CJsonValue::Array(), ']', nDepth, [&] {
            CJsonValue item;
            if (!ReadValue(item, nDepth))
                return false;
            value.Push(std::move(item));
            return true;
        });
    }

    bool ReadHex4(std::uint32_t& nCode) {
        if (m_str.size() - m_nPos < 4)
            return Fail();
        nCode = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_str[m_nPos++];
            nCode <<= 4;
            if (c >= '0' && c <= '9')
                nCode |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                nCode |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                nCode |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return Fail();
        }
        return true;
    }

    bool ReadEscape(std::string& str) {
        const char c = Peek();
        ++m_nPos;
        static const char kFrom[] = "\"\\/bfnrt";
        static const char kTo[] = "\"\\/\b\f\n\r\t";
        for (int i = 0; kFrom[i]; ++i) {
            if (c == kFrom[i]) {
                str += kTo[i];
                return true;
            }
        }
        std::uint32_t nCode = 0;
        if (c != 'u' || !ReadHex4(nCode))
            return Fail();
        if (nCode >= 0xDC00 && nCode <= 0xDFFF)
            return Fail(); // a low surrogate alone
        if (nCode >= 0xD800 && nCode <= 0xDBFF) {
            std::uint32_t nLow = 0;
            if (!Literal("\\u") || !ReadHex4(nLow) || nLow < 0xDC00 || nLow > 0xDFFF)
                return Fail();
            nCode = 0x10000 + ((nCode - 0xD800) << 10) + (nLow - 0xDC00);
        }
        AppendUtf8(nCode, str);
        return true;
    }

    bool ReadString(std::string& str) {
        ++m_nPos; // the opening quote
        for (;;) {
            if (AtEnd())
                return Fail();
            const char c = m_str[m_nPos];
            if (c == '"') {
                ++m_nPos;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail();
            if (c == '\\') {
                ++m_nPos;
                if (!ReadEscape(str))
                    return false;
                continue;
            }
            str += c;
            ++m_nPos;
        }
    }

    bool ReadDigits() {
        const std::size_t nStart = m_nPos;
        while (Peek() >= '0' && Peek() <= '9')
            ++m_nPos;
        return m_nPos > nStart;
    }

    bool ReadNumber(CJsonValue& value) {
        const std::size_t nStart = m_nPos;
        if (Peek() == '-')
            ++m_nPos;
        if (Peek() == '0')
            ++m_nPos;
        else if (!ReadDigits())
            return Fail();
        if (Peek() == '.') {
            ++m_nPos;
            if (!ReadDigits())
                return Fail();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_nPos;
            if (Peek() == '+' || Peek() == '-')
                ++m_nPos;
            if (!ReadDigits())
                return Fail();
        }
        // The grammar is checked above; strtod reads exactly that span.
        const std::string strNumber = m_str.substr(nStart, m_nPos - nStart);
        const double d = std::strtod(strNumber.c_str(), nullptr);
        if (!std::isfinite(d))
            return Fail();
        value = CJsonValue::Number(d);
        return true;
    }

    const std::string& m_str;
    std::size_t m_nPos = 0;
    JsonError m_error = JsonError::None;
};

void WriteString(const std::string& str, std::string& strOut) {
    strOut += '"';
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(str.data());
    for (std::size_t i = 0; i < str.size();) {
        const std::size_t nLength = Utf8Length(pb + i, str.size() - i);
        const unsigned char c = pb[i];
        char achEscape[8];
        if (nLength == 0) {
            strOut += "\\ufffd"; // a byte that is no UTF-8 stands as the replacement character
            ++i;
            continue;
        }
        if (nLength == 3 && c == 0xE2 && pb[i + 1] == 0x80 && (pb[i + 2] == 0xA8 || pb[i + 2] == 0xA9)) {
            // U+2028 and U+2029 end lines in some readers.
            strOut += pb[i + 2] == 0xA8 ? "\\u2028" : "\\u2029";
        } else if (c == '"' || c == '\\') {
            strOut += '\\';
            strOut += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(achEscape, sizeof(achEscape), "\\u%04x", c);
            strOut += achEscape;
        } else {
            strOut.append(str, i, nLength);
        }
        i += nLength;
    }
    strOut += '"';
}

void WriteValue(const CJsonValue& value, std::string& strOut) {
    switch (value.GetKind()) {
    case CJsonValue::Kind::Null:
        strOut += "null";
        break;
    case CJsonValue::Kind::Bool:
        strOut += value.AsBool() ? "true" : "false";
        break;
    case CJsonValue::Kind::Number: {
        char achNumber[32];
        const double d = value.AsNumber();
        if (std::floor(d) == d && std::fabs(d) < 9007199254740992.0)
            std::snprintf(achNumber, sizeof(achNumber), "%.0f", d);
        else
            std::snprintf(achNumber, sizeof(achNumber), "%.17g", d);
        strOut += achNumber;
        break;
    }
    case CJsonValue::Kind::String:
        WriteString(value.AsString(), strOut);
        break;
    case CJsonValue::Kind::Array: {
        strOut += '[';
        const char* pszSeparator = "";
        for (const CJsonValue& item : value.Items()) {
            strOut += pszSeparator;
            WriteValue(item, strOut);
            pszSeparator = ",";
        }
        strOut += ']';
        break;
    }
    case CJsonValue::Kind::Object: {
        strOut += '{';
        const char* pszSeparator = "";
        for (const CJsonValue::Member& member : value.Members()) {
            strOut += pszSeparator;
            WriteString(member.first, strOut);
            strOut += ':';
            WriteValue(member.second, strOut);
            pszSeparator = ",";
        }
        strOut += '}';
        break;
    }
    }
}

} // namespace

bool IsValidUtf8(const char* p, std::size_t n) {
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n;) {
        const std::size_t nLength = Utf8Length(pb + i, n - i);
        if (nLength == 0)
            return false;
        i += nLength;
    }
    return true;
}

JsonError ParseJson(const std::string& strText, CJsonValue& value) {
    value = CJsonValue();
    if (!IsValidUtf8(strText.data(), strText.size()))
        return JsonError::InvalidUtf8;
    CReader reader(strText);
    const JsonError error = reader.ReadDocument(value);
    if (error != JsonError::None)
        value = CJsonValue();
    return error;
}

std::string WriteJson(const CJsonValue& value) {
    std::string strOut;
    WriteValue(value, strOut);
    return strOut;
}
