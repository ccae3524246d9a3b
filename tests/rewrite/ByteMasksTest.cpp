// The wide ways of finding bytes in a chunk must find what the byte-at-a-time
// way finds, and that way each byte at its own place.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "ByteMasks.h"
#include "Random.h"
#include "RuleHarness.h"

namespace kelbrin::test {
namespace {

using Chunk64 = std::array<std::uint8_t, kChunk>;

struct Masks {
  std::uint64_t ofOne;
  std::uint64_t ofTwo;
  bool operator==(const Masks&) const = default;
};

template <class Chunk>
Masks MasksOf(const Chunk64& bytes, std::uint8_t one, std::uint8_t two) {
  const Chunk chunk(bytes.data());
  return {chunk.Mask(one), chunk.Mask(one, two)};
}

#if defined(__SSE2__)
[[gnu::target("avx2")]] Masks Avx2MasksOf(const Chunk64& bytes, std::uint8_t one, std::uint8_t two) {
  return MasksOf<Avx2Chunk>(bytes, one, two);
}
#endif

Masks MasksOf(Width width, const Chunk64& bytes, std::uint8_t one, std::uint8_t two) {
  switch (width) {
#if defined(__SSE2__)
    case Width::Avx2: return Avx2MasksOf(bytes, one, two);
    case Width::Sse2: return MasksOf<Sse2Chunk>(bytes, one, two);
#endif
    default: return MasksOf<ScalarChunk>(bytes, one, two);
  }
}

TEST(ByteMasks, EachByteIsFoundAtItsOwnPlace) {
  for (std::size_t at = 0; at < kChunk; ++at) {
    for (const std::uint8_t byte : {std::uint8_t{0x00}, std::uint8_t{0x20}, std::uint8_t{0x80}, std::uint8_t{0xff}}) {
      Chunk64 bytes;
      bytes.fill(static_cast<std::uint8_t>(byte + 1));
      bytes[at] = byte;
      const std::uint64_t expected = std::uint64_t{1} << at;
      for (Width width : Widths()) {
        EXPECT_EQ(MasksOf(width, bytes, byte, byte), (Masks{expected, expected})) << WidthName(width) << " at " << at;
      }
    }
  }
}

TEST(ByteMasks, WideWaysFindWhatTheScalarWayFinds) {
  Random random(64);
  for (int round = 0; round < 5000; ++round) {
    const auto one = static_cast<std::uint8_t>(random.Below(256));
    const auto two = static_cast<std::uint8_t>(random.Below(256));
    Chunk64 bytes;
    for (std::uint8_t& byte : bytes) {
      const std::uint32_t pick = random.Below(4);
      byte = pick == 0 ? one : pick == 1 ? two : static_cast<std::uint8_t>(random.Below(256));
    }
    const Masks expected = MasksOf<ScalarChunk>(bytes, one, two);
    for (Width width : Widths()) {
      ASSERT_EQ(MasksOf(width, bytes, one, two), expected) << WidthName(width) << ", round " << round;
    }
  }
}

// The program's own rules rely on the widths it finds: SSE2 is there on every
// x86-64.
TEST(ByteMasks, WidthsStartWithTheScalarWay) {
  ASSERT_FALSE(Widths().empty());
  EXPECT_EQ(Widths().front(), Width::Scalar);
#if defined(__SSE2__)
  ASSERT_GE(Widths().size(), 2u);
  EXPECT_EQ(Widths()[1], Width::Sse2);
#endif
  EXPECT_EQ(Widest(), Widths().back());
}

}  // namespace
}  // namespace kelbrin::test
