#include "core/filler.h"

#include <array>
#include <cstring>

namespace core {
namespace {

// Sixteen independent generators. Each random word depends only on the word sixteen places
// before it, never on the one just before, so the compiler draws several words at once in
// vector registers where the target has them, instead of waiting on a chain of steps.
constexpr std::size_t kLanes = 16;
// Each 32-bit word gives four values, one per byte: a record's worth of words per round.
constexpr std::size_t kWords = kFillerRecord / 4;

// A 32-bit avalanche mix: every input bit flips about half of the output bits.
std::uint32_t Mix(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  x ^= x >> 13;
  x *= 0xC2B2AE35u;
  x ^= x >> 16;
  return x;
}

// A generator's first state from a seed: mixed, and never 0, where xorshift would stay.
std::uint32_t StartState(std::uint32_t seed) {
  const std::uint32_t state = Mix(seed);
  return state != 0 ? state : 0x6D2B79F5u;
}

// One xorshift step: shifts and exclusive-ors only, which every vector unit has.
std::uint32_t Step(std::uint32_t x) {
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return x;
}

// Whether some byte of the word is 0xFF, the one random byte that is no value of 0..254.
bool HasFullByte(std::uint32_t word) {
  const std::uint32_t inverted = ~word;  // then that byte is 0, found by the usual zero-byte test
  return ((inverted - 0x01010101u) & ~inverted & 0x80808080u) != 0;
}

// The word with each 0xFF byte drawn again from the spare generator until it is not: the one
// value left out, so that the 255 others stay equally likely. About one word in 64 comes here.
std::uint32_t Redrawn(std::uint32_t word, std::uint32_t& spare) {
  std::uint8_t values[4];
  std::memcpy(values, &word, sizeof word);
  for (std::uint8_t& value : values) {
    while (value == 0xFF) {
      spare = Step(spare);
      value = static_cast<std::uint8_t>(spare);
    }
  }
  std::memcpy(&word, values, sizeof word);
  return word;
}

// The four bytewise sums mod 256 of two words at once, with no carry from byte to byte. Plain
// 32-bit arithmetic: four filler bytes a step on any processor, vector unit or not.
std::uint32_t AddBytes(std::uint32_t a, std::uint32_t b) {
  return ((a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu)) ^ ((a ^ b) & 0x80808080u);
}

// The position of each byte of a record, 0..255 twice, added to four values at a time.
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
    words[l] = StartState(seed + static_cast<std::uint32_t>(l) * 0x9E3779B9u);
  }
  std::uint32_t spare = StartState(~seed);
  for (std::size_t at = 0; at + kFillerRecord <= count; at += kFillerRecord) {
    for (std::size_t i = kLanes; i < kLanes + kWords; ++i) {
      words[i] = Step(words[i - kLanes]);
    }
    // Byte order does not matter: positions, values and record are all taken bytewise.
    std::uint8_t* const record = bytes + at;
    for (std::size_t w = 0; w < kWords; ++w) {
      std::uint32_t values = words[kLanes + w];
      if (HasFullByte(values)) {
        values = Redrawn(values, spare);
      }
      std::uint32_t positions = 0;
      std::memcpy(&positions, kPositions.data() + 4 * w, sizeof positions);
      const std::uint32_t filler = AddBytes(positions, values);
      std::memcpy(record + 4 * w, &filler, sizeof filler);
    }
    std::memcpy(words, words + kWords, sizeof words[0] * kLanes);  // the lanes go on
  }
}

}  // namespace core
