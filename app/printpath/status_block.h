// The status block that the print path publishes in a file mapping: the
// 44-byte status record at offset 0, and nothing else the agent relies on.
//
// The publisher writes the record without any lock a reader could share, so
// a reader copies it until two successive copies agree: a copy taken while a
// write is in progress differs from the next one. After a few copies that
// never agree (a publisher writing without pause) the last copy is taken.
#pragma once

#include <cstddef>
#include <cstdint>

namespace printpath {

// The size of the status record, as the print path publishes it.
constexpr std::size_t kStatusRecordSize = 44;
constexpr int kStatusBlockMaxCopies = 4;

// Copies the record at pBlock into pRecord. Returns the number of copies
// taken: 2 for a block at rest, kStatusBlockMaxCopies at most.
int ReadStatusBlock(const volatile std::uint8_t* pBlock, std::uint8_t* pRecord);

} // namespace printpath
