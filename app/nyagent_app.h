// The agent's application object: here, what it tells of its own version record.
#pragma once

#include <string>

#include <windows.h>

class CNyAgentApp {
public:
    // The text of a key of the version record's string tables; the last
    // translation that holds the key wins. FALSE leaves strValue untouched.
    static BOOL GetVersionInformation(const std::string& strKey, std::string& strValue);
    // "ProductName", read once it can be read; empty text until then.
    static const char* GetProductName();
    // The product version of the fixed version block.
    static BOOL GetProductVersion(WORD& wMajor, WORD& wMinor, WORD& wBuild, WORD& wRevision);
};
