#include "core/filler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace core {
namespace {

constexpr std::size_t kEntryBytes = 3 * kFillerRecord;  // two decoys and a data record

std::vector<std::uint8_t> Drawn(std::uint32_t seed, std::size_t count = kEntryBytes) {
  std::vector<std::uint8_t> bytes(count);
  DrawFiller(seed, bytes.data(), bytes.size());
  return bytes;
}

// r of the byte at offset k: (byte - position) mod 256, which must be 0..254.
int Offset(const std::vector<std::uint8_t>& bytes, std::size_t k) {
  return static_cast<std::uint8_t>(bytes[k] - k % 256);
}

TEST(FillerTest, EveryValueIsFrom0To254AndAllAreAboutEquallyLikely) {
  // Seeds as a clock gives them (consecutive milliseconds) and the edges of the seed range,
  // where a weak generator would start from a stuck state.
  std::vector<std::uint32_t> seeds = {0u, 1u, 0xFFFFFFFFu, 0x80000000u, 86399999u};
  for (std::uint32_t s = 43200000u; s < 43202000u; ++s) {
    seeds.push_back(s);
  }
  std::array<long, 256> seen{};
  for (const std::uint32_t seed : seeds) {
    const std::vector<std::uint8_t> bytes = Drawn(seed);
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      ++seen[static_cast<std::size_t>(Offset(bytes, k))];
    }
  }
  EXPECT_EQ(seen[255], 0) << "a filler byte took the value of position p - 1";
  const double expected = static_cast<double>(seeds.size() * kEntryBytes) / 255;
  for (int r = 0; r < 255; ++r) {
    EXPECT_GT(seen[r], 0.9 * expected) << r;
    EXPECT_LT(seen[r], 1.1 * expected) << r;
  }
}

TEST(FillerTest, TheSameSeedDrawsTheSameBytesAndAnotherSeedOthers) {
  EXPECT_EQ(Drawn(4242u), Drawn(4242u));
  // A clock one millisecond on gives different bytes all through, not a shifted copy.
  const std::vector<std::uint8_t> now = Drawn(4242u);
  const std::vector<std::uint8_t> next = Drawn(4243u);
  int equal = 0;
  for (std::size_t k = 0; k < now.size(); ++k) {
    equal += now[k] == next[k] ? 1 : 0;
  }
  EXPECT_LT(equal, 30);  // about 6 of 1536 by chance
  // Neither does any record repeat another of the same draw.
  EXPECT_FALSE(std::equal(now.begin(), now.begin() + kFillerRecord, now.begin() + kFillerRecord));
}

TEST(FillerTest, NoValueCrowdsOneEntryEvenFromEdgeSeeds) {
  // One stuck generator lane would repeat one value all over its share of the entry.
  for (const std::uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 0x80000000u}) {
    const std::vector<std::uint8_t> bytes = Drawn(seed);
    std::array<int, 256> seen{};
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      ++seen[static_cast<std::size_t>(Offset(bytes, k))];
    }
    for (int r = 0; r < 255; ++r) {
      EXPECT_LT(seen[r], 30) << "seed " << seed << " value " << r;  // about 6 each
    }
  }
}

}  // namespace
}  // namespace core
