#include "ui/help_button.h"

#include "resources/resource_ids.h"

namespace {

// The focused icon is loaded but never drawn; there is no disabled one.
const CIconButton::Icon kIcons[CIconButton::kStates] = {
    {IDI_ICON_HELP, "CHelpButton::Create() : Unable to load IDI_ICON_HELP icon\n"},
    {IDI_ICON_FOCUSED_HELP, "CHelpButton::Create() : Unable to load IDI_ICON_FOCUSED_HELP icon\n"},
    {IDI_ICON_SELECTED_HELP, "CHelpButton::Create() : Unable to load IDI_ICON_SELECTED_HELP icon\n"},
    {0, nullptr},
};

} // namespace

CHelpButton::CHelpButton() : CIconButton(kIcons) {}
