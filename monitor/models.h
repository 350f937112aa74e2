// The family's models, named by USB product id.
#pragma once

#include <cstdint>

// "???" for an id outside the family.
const char* GetModelName(std::uint16_t wProductId);
// Kestrel models lay out the status window's buttons differently from Brindle ones.
bool IsKestrelProductId(std::uint16_t wProductId);
