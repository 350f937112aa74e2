#include "app/json/json_value.h"

CJsonValue CJsonValue::Bool(bool b) {
    CJsonValue value;
    value.m_kind = Kind::Bool;
    value.m_bValue = b;
    return value;
}

CJsonValue CJsonValue::Number(double d) {
    CJsonValue value;
    value.m_kind = Kind::Number;
    value.m_dValue = d;
    return value;
}

CJsonValue CJsonValue::String(std::string str) {
    CJsonValue value;
    value.m_kind = Kind::String;
    value.m_strValue = std::move(str);
    return value;
}

CJsonValue CJsonValue::Array() {
    CJsonValue value;
    value.m_kind = Kind::Array;
    return value;
}

CJsonValue CJsonValue::Object() {
    CJsonValue value;
    value.m_kind = Kind::Object;
    return value;
}

const CJsonValue* CJsonValue::Find(const std::string& strName) const {
    for (const Member& member : m_members) {
        if (member.first == strName)
            return &member.second;
    }
    return nullptr;
}

std::string CJsonValue::StringOf(const std::string& strName) const {
    const CJsonValue* pValue = Find(strName);
    return pValue && pValue->m_kind == Kind::String ? pValue->m_strValue : std::string();
}

CJsonValue& CJsonValue::Push(CJsonValue item) {
    m_items.push_back(std::move(item));
    return *this;
}

CJsonValue& CJsonValue::Set(std::string strName, CJsonValue value) {
    m_members.emplace_back(std::move(strName), std::move(value));
    return *this;
}
