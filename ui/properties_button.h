// The status window's button to the device information dialog: a 16 x 16
// icon, another while pressed and a grey one while disabled.
#pragma once

#include "ui/icon_button.h"

class CPropertiesButton : public CIconButton {
public:
    CPropertiesButton();
};
