// The colour settings of the agent's dialogs (BkColor, TextColor) and the keys
// that change them in the status window. A setting holds a colour as
// 0x00BBGGRR in its low 24 bits; bit 24 marks a colour the user chose, and a
// value without it asks for the dialog's own default colour. Platform-free.
#pragma once

#include <cstdint>

namespace colour_setting {

constexpr std::uint32_t kUserFlag = 0x01000000;
constexpr std::uint32_t kColourBits = 0x00FFFFFF;

constexpr bool IsUserColour(std::uint32_t dwSetting) {
    return dwSetting >= kUserFlag;
}
// The colour marked as chosen by the user.
constexpr std::uint32_t UserColour(std::uint32_t crColour) {
    return (crColour & kColourBits) | kUserFlag;
}
// The setting's colour kept, but marked as the default again.
constexpr std::uint32_t ResetToDefault(std::uint32_t dwSetting) {
    return dwSetting & kColourBits;
}
// What a dialog paints with: the user's colour, or crDefault.
constexpr std::uint32_t Effective(std::uint32_t dwSetting, std::uint32_t crDefault) {
    return IsUserColour(dwSetting) ? dwSetting & kColourBits : crDefault;
}

// Characters typed to the status window that change a colour setting.
enum class Key { None, ChooseBackground, ResetBackground, ChooseText, ResetText };

constexpr Key KeyOf(unsigned int nChar) {
    switch (nChar) {
    case 'b':
        return Key::ChooseBackground;
    case 'B':
        return Key::ResetBackground;
    case 't':
        return Key::ChooseText;
    case 'T':
        return Key::ResetText;
    default:
        return Key::None;
    }
}

} // namespace colour_setting
