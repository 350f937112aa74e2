#include "ui/properties_button.h"

#include "resources/resource_ids.h"

namespace {

// The focused icon is loaded but never drawn.
const CIconButton::Icon kIcons[CIconButton::kStates] = {
    {IDI_ICON_PROPERTIES, "CPropertiesButton::Create() : Unable to load IDI_ICON_PROPERTIES icon\n"},
    {IDI_ICON_FOCUSED_PROPERTIES,
     "CPropertiesButton::Create() : Unable to load IDI_ICON_FOCUSED_PROPERTIES icon\n"},
    {IDI_ICON_SELECTED_PROPERTIES,
     "CPropertiesButton::Create() : Unable to load IDI_ICON_SELECTED_PROPERTIES icon\n"},
    {IDI_ICON_DISABLED_PROPERTIES,
     "CPropertiesButton::Create() : Unable to load IDI_ICON_DISABLED_PROPERTIES icon\n"},
};

} // namespace

CPropertiesButton::CPropertiesButton() : CIconButton(kIcons) {}
