// The agent's dialog font: "Arial Unicode MS" at 9 points, or, where that face
// is not installed, the system's message font face at the same size, so that
// every language's script has glyphs.
#pragma once

#include <string>

#include <windows.h>

#include "ui/unique_gdi.h"

class CDialogFont {
public:
    static constexpr char kFaceName[] = "Arial Unicode MS";
    static constexpr int kPoints = 9;

    // The face the fonts are made with, chosen once per process.
    static const std::string& FaceName();
    // The font at nDpi with the weight (FW_NORMAL, FW_BOLD); empty on failure.
    static CUniqueFont Create(unsigned nDpi, int nWeight);
};
