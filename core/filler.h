// The random filler of the databank records: the byte at position p is (p + r) mod 256, with r
// a fresh pseudo-random value from 0 to 254, so a filler byte is never (p - 1) mod 256.
#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

constexpr std::size_t kFillerRecord = 512;

// Fills `count` bytes, whole records of kFillerRecord bytes, byte k standing at position
// k mod 256, from the generator seeded with `seed`. The same seed gives the same bytes.
void DrawFiller(std::uint32_t seed, std::uint8_t* bytes, std::size_t count);

}  // namespace core
