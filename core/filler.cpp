#include "core/filler.h"

#include <array>
#include <cstring>

namespace core {
namespace {

// Sixteen independent generators. Each random word depends only on the word sixteen places
// before it, never on the one just before, so the compiler draws several words at once in
// vector registers where the target has them, instead of waiting on a chain of steps.
constexpr std::size_t kLanes = 16;
// Each 32-bit word gives two values, one per 16-bit half: a record's worth of words per round.
constexpr std::size_t kWords = kFillerRecord / 2;

// A 32-bit avalanche mix: every input bit flips about half of the output bits.
std::uint32_t Mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  x ^= x >> 13;
  x *= 0xC2B2AE35u;
  x ^= x >> 16;
  return x;
}

// One xorshift step: shifts and exclusive-ors only, which every vector unit has.
std::uint32_t Step(std::uint32_t x) {
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return x;
}

// 0..254 from 16 random bits: the high half of bits * 255 is at most 254 and takes every value
// of 0..254 equally often, give or take one in 256. Vector units have this multiply.
std::uint32_t Below255(std::uint16_t bits) {
  return (std::uint32_t{bits} * 255u) >> 16;
}

// The position of each byte of a record, 0..255 twice. Added from a table, the positions cost
// one vector addition per 16 bytes instead of a counter kept in every lane.
constexpr auto kPositions = [] {
  std::array<std::uint8_t, kFillerRecord> positions{};
  for (std::size_t k = 0; k < kFillerRecord; ++k) {
    positions[k] = static_cast<std::uint8_t>(k);
  }
  return positions;
}();

}  // namespace

void DrawFiller(std::uint32_t seed, std::uint8_t* bytes, std::size_t count) {
  std::uint32_t words[kLanes + kWords];
  for (std::size_t l = 0; l < kLanes; ++l) {
    const std::uint32_t state = Mix(seed + static_cast<std::uint32_t>(l) * 0x9E3779B9u);
    words[l] = state != 0 ? state : 0x6D2B79F5u;  // xorshift would stay at 0
  }
  for (std::size_t at = 0; at + kFillerRecord <= count; at += kFillerRecord) {
    for (std::size_t i = kLanes; i < kLanes + kWords; ++i) {
      words[i] = Step(words[i - kLanes]);
    }
    // Every 16-bit half of the record's words is one value: the words seen as halves.
    std::uint16_t halves[kFillerRecord];
    std::memcpy(halves, words + kLanes, sizeof halves);
    std::uint8_t* const record = bytes + at;
    for (std::size_t k = 0; k < kFillerRecord; ++k) {
      record[k] = static_cast<std::uint8_t>(kPositions[k] + Below255(halves[k]));
    }
    std::memcpy(words, words + kWords, sizeof words[0] * kLanes);  // the lanes go on
  }
}

}  // namespace core
