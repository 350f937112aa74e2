// The status window's help button: a 16 x 16 icon, another while pressed.
#pragma once

#include "ui/icon_button.h"

class CHelpButton : public CIconButton {
public:
    CHelpButton();
};
