#include "tests/native/english_strings.h"

#include <fstream>
#include <regex>
#include <stdexcept>

namespace {

std::string Unescape(const std::string& strRc) {
    std::string text;
    for (std::size_t i = 0; i < strRc.size(); ++i) {
        if (strRc[i] == '"' && i + 1 < strRc.size() && strRc[i + 1] == '"') {
            text += '"';
            ++i;
        } else if (strRc[i] == '\\' && i + 1 < strRc.size() && strRc[i + 1] == 'n') {
            text += '\n';
            ++i;
        } else {
            text += strRc[i];
        }
    }
    return text;
}

std::map<StringId, std::string> ReadTable() {
    const std::string strPath = std::string(NY_SOURCE_DIR) + "/resources/lang/en.rc";
    std::ifstream file(strPath);
    if (!file)
        throw std::runtime_error("cannot read " + strPath);
    const std::regex entry(R"re(^\s*(\d+)\s*,\s*"(.*)"\s*$)re");
    std::map<StringId, std::string> table;
    std::string line;
    while (std::getline(file, line)) {
        std::smatch match;
        if (std::regex_match(line, match, entry))
            table[static_cast<StringId>(std::stoul(match[1]))] = Unescape(match[2]);
    }
    return table;
}

} // namespace

const std::map<StringId, std::string>& EnglishTable() {
    static const std::map<StringId, std::string> table = ReadTable();
    return table;
}

std::string EnglishText(StringId nId) {
    const auto& table = EnglishTable();
    const auto it = table.find(nId);
    return it == table.end() ? "<no text>" : it->second;
}
