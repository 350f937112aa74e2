#include "monitor/models.h"

namespace {

struct Model {
    std::uint16_t wProductId;
    const char* pszName;
};

const Model kModels[] = {
    {0x2A, "Brindle Model J"}, {0x3B, "Brindle Model H"}, {0x3C, "Kestrel Model F"},
    {0x3D, "Kestrel Model E"}, {0x3E, "Brindle Model G"}, {0x3F, "Kestrel Model D"},
    {0x56, "Kestrel Model C"}, {0x57, "Kestrel Model B"}, {0x58, "Kestrel Model A"},
};

} // namespace

const char* GetModelName(std::uint16_t wProductId) {
    for (const Model& model : kModels) {
        if (model.wProductId == wProductId)
            return model.pszName;
    }
    return "???";
}

bool IsKestrelProductId(std::uint16_t wProductId) {
    static const std::uint16_t kFirstGeneration[] = {60, 61, 63};
    static const std::uint16_t kSecondGeneration[] = {86, 87, 88};
    for (std::uint16_t id : kFirstGeneration) {
        if (id == wProductId)
            return true;
    }
    for (std::uint16_t id : kSecondGeneration) {
        if (id == wProductId)
            return true;
    }
    return false;
}
