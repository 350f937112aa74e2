// A JSON value as the status protocol exchanges it: null, true or false, a
// number, a string of UTF-8, an array or an object whose members keep their
// order. Platform-free; the reader and the writer are beside it.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CJsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    using Member = std::pair<std::string, CJsonValue>;

    CJsonValue() = default;
    static CJsonValue Bool(bool b);
    static CJsonValue Number(double d);
    static CJsonValue String(std::string str);
    static CJsonValue Array();
    static CJsonValue Object();

    Kind GetKind() const { return m_kind; }
    bool IsNull() const { return m_kind == Kind::Null; }
    bool AsBool() const { return m_bValue; }
    double AsNumber() const { return m_dValue; }
    const std::string& AsString() const { return m_strValue; }
    const std::vector<CJsonValue>& Items() const { return m_items; }
    const std::vector<Member>& Members() const { return m_members; }

    // The member of an object by name (the first of that name); null when
    // there is none or this is no object.
    const CJsonValue* Find(const std::string& strName) const;
    // The string of a member that is a string; empty otherwise.
    std::string StringOf(const std::string& strName) const;

    // Appends to an array, or a member to an object; returns this value.
    CJsonValue& Push(CJsonValue item);
    CJsonValue& Set(std::string strName, CJsonValue value);

private:
    Kind m_kind = Kind::Null;
    bool m_bValue = false;
    double m_dValue = 0;
    std::string m_strValue;
    std::vector<CJsonValue> m_items;
    std::vector<Member> m_members;
};
