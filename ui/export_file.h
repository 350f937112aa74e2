// What the exports of the information and About dialogs share: the system's
// Save dialog for one kind of file, and the time their banners carry.
#pragma once

#include <string>

#include <windows.h>

#include "resources/string_ids.h"

// Shows the Save dialog with the filter "<nFilesText> (*.<ext>)|*.<ext>|<All
// Files> (*.*)|*.*", the initial name "*.<ext>" and the prompt before
// overwriting. FALSE when the user cancels.
BOOL AskSaveFileName(HWND hOwner, StringId nFilesText, const char* pszExtension, std::string& strPath);

// The current local time as the banners show it.
std::string ExportTimeNow();
