// The status block that the print path publishes in a file mapping.
//
// The first 44 bytes of the mapping are the status record. The 32-bit
// generation count that follows at offset 44 keeps readers from using a
// half-written record without any lock: the publisher makes the count odd
// before it changes the record and even again once the record is complete.
// A reader copies the count, the record and the count again, and keeps the
// copy when both counts are the same even number; otherwise it tries again.
// A reader that ignores the count still finds a record at offset 0, only
// without that guarantee.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "monitor/device_status.h"

namespace printpath {

constexpr std::size_t kStatusBlockGenerationOffset = CDeviceStatus::kSize;
// Size of the mapping that the print path creates.
constexpr std::size_t kStatusMappingSize = 4096;

// Copies a consistent record out of the block, trying at most nAttempts times
// against a publisher that keeps writing. Returns false when every attempt
// met a write in progress; the record then holds the last copy taken.
bool ReadStatusBlock(const volatile std::uint8_t* pBlock, std::uint8_t* pRecord, int nAttempts = 1000);

// Publishes a record into the block; only one writer at a time.
void WriteStatusBlock(volatile std::uint8_t* pBlock, const std::uint8_t* pRecord);

} // namespace printpath
