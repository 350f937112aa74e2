// The English string table (resources/lang/en.rc), read once, so that tests
// can show a text id with its English text.
#pragma once

#include <map>
#include <string>

#include "resources/string_ids.h"

// Every entry of en.rc by id, with "" and \n unescaped.
const std::map<StringId, std::string>& EnglishTable();
// The English text of an id, or "<no text>" when en.rc has no such entry.
std::string EnglishText(StringId nId);
