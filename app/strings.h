// Localised texts: every user-visible text is taken by string id in the
// user's default language, falling back to the primary language, then English.
#pragma once

#include <string>

#include "app/trace.h"

// <windows.h> maps LoadString to LoadStringA or LoadStringW; the agent's own
// loader takes the name, and the program never calls the system's by macro.
#ifdef LoadString
#undef LoadString
#endif

// The entry in the user's language as narrow text; empty on any failure.
std::string LoadString(unsigned int nID);
// The entry formatted printf-style with the arguments; a percent sign in an
// entry is always a format directive.
std::string FormatString(unsigned int nID, ...);
