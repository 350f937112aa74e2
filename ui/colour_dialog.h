// The system's colour dialog, run as a nested loop of the user-interface
// thread: Exit ends it, and a printer's removal waits until it returns.
#pragma once

#include <windows.h>

// Lets the user choose a colour, starting from crColour; TRUE with the choice
// in crColour, FALSE when the user cancelled or the dialog was ended.
bool ChooseColour(HWND hOwner, COLORREF& crColour);
