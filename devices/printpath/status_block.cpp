#include "devices/printpath/status_block.h"

#include <thread>

namespace printpath {

namespace {

std::uint32_t LoadGeneration(const volatile std::uint8_t* pBlock) {
    const volatile std::uint32_t* p =
        reinterpret_cast<const volatile std::uint32_t*>(pBlock + kStatusBlockGenerationOffset);
    return *p;
}

void StoreGeneration(volatile std::uint8_t* pBlock, std::uint32_t value) {
    volatile std::uint32_t* p = reinterpret_cast<volatile std::uint32_t*>(pBlock + kStatusBlockGenerationOffset);
    *p = value;
}

void CopyIn(std::uint8_t* pRecord, const volatile std::uint8_t* pBlock) {
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i)
        pRecord[i] = pBlock[i];
}

} // namespace

bool ReadStatusBlock(const volatile std::uint8_t* pBlock, std::uint8_t* pRecord, int nAttempts) {
    for (int attempt = 0; attempt < nAttempts; ++attempt) {
        const std::uint32_t before = LoadGeneration(pBlock);
        std::atomic_thread_fence(std::memory_order_acquire);
        CopyIn(pRecord, pBlock);
        std::atomic_thread_fence(std::memory_order_acquire);
        const std::uint32_t after = LoadGeneration(pBlock);
        if (before == after && (before & 1) == 0)
            return true;
        std::this_thread::yield();
    }
    return false;
}

void WriteStatusBlock(volatile std::uint8_t* pBlock, const std::uint8_t* pRecord) {
    const std::uint32_t generation = LoadGeneration(pBlock);
    StoreGeneration(pBlock, generation | 1);
    std::atomic_thread_fence(std::memory_order_release);
    for (std::size_t i = 0; i < CDeviceStatus::kSize; ++i)
        pBlock[i] = pRecord[i];
    std::atomic_thread_fence(std::memory_order_release);
    StoreGeneration(pBlock, (generation | 1) + 1);
}

} // namespace printpath
