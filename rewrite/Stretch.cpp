#include "Stretch.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kelbrin {
namespace {

// Compares many bytes at once through the compiler's portable vector types
// (SSE2 on x86-64, NEON on ARM, plain words elsewhere).
constexpr std::size_t kLanes = 16;
typedef std::uint8_t Lanes __attribute__((vector_size(kLanes)));
typedef std::uint64_t Words __attribute__((vector_size(kLanes)));
static_assert(std::endian::native == std::endian::little, "lane 0 is taken to be the lowest byte of a word");

Lanes Load(const std::uint8_t* at) {
  Lanes lanes;
  std::memcpy(&lanes, at, sizeof lanes);
  return lanes;
}

Lanes Splat(std::uint8_t byte) { return Lanes{} | byte; }

// A lane is all ones where its byte is one of the first kCount of `bytes`.
template <std::size_t kCount>
Lanes AnyOf(Lanes here, const std::array<Lanes, Stretch::kMaxStops>& bytes) {
  Lanes hits = reinterpret_cast<Lanes>(here == bytes[0]);
  for (std::size_t i = 1; i < kCount; ++i) hits |= reinterpret_cast<Lanes>(here == bytes[i]);
  return hits;
}

// How many of `bytes` differ, since unused places repeat the first.
std::size_t Distinct(const std::array<std::uint8_t, Stretch::kMaxStops>& bytes) {
  return bytes[1] == bytes[0] ? 1 : 2;
}

bool Any(Lanes hits) {
  const Words words = reinterpret_cast<Words>(hits);
  std::uint64_t any = 0;
  for (std::size_t i = 0; i < kLanes / 8; ++i) any |= words[i];
  return any != 0;
}

// One bit per lane that is all ones, lane 0 lowest; without branches, which
// text with stops at random places would mispredict.
std::uint32_t Mask(Lanes hits) {
  const Words words = reinterpret_cast<Words>(hits);
  std::uint32_t mask = 0;
  for (std::size_t i = 0; i < kLanes / 8; ++i) {
    // Gathers the top bit of each byte into the word's top byte.
    const std::uint64_t tops = (words[i] & 0x8080808080808080ull) * 0x0002040810204081ull;
    mask |= static_cast<std::uint32_t>(tops >> 56) << (8 * i);
  }
  return mask;
}

// The position of the first lane that is all ones, or kLanes.
std::size_t FirstHit(Lanes hits) { return static_cast<std::size_t>(std::countr_zero(Mask(hits) | 1u << kLanes)); }

// The first byte in [from, end - 1) where `hitsAt` finds a hit, or end - 1.
// `hitsAt` reads kLanes + 1 bytes: each byte and the one after it. The last
// chunk overlaps the one before rather than reading past the end; a short
// stretch is tested on a copy padded with `pad`.
template <class HitsAt>
const std::uint8_t* FirstHitBeforeLast(const std::uint8_t* from, const std::uint8_t* end, std::uint8_t pad,
                                       HitsAt hitsAt) {
  const std::uint8_t* const last = end - 1;
  if (static_cast<std::size_t>(end - from) <= kLanes) {
    std::uint8_t tail[2 * kLanes];
    std::memset(tail, pad, sizeof tail);
    std::memcpy(tail, from, static_cast<std::size_t>(end - from));
    return from + std::min(FirstHit(hitsAt(tail)), static_cast<std::size_t>(last - from));
  }
  // Two chunks at a time while there is room: fewer tests of whether to stop.
  for (; last - from > static_cast<std::ptrdiff_t>(2 * kLanes); from += 2 * kLanes) {
    const Lanes first = hitsAt(from);
    const Lanes second = hitsAt(from + kLanes);
    if (Any(first | second)) return from + std::countr_zero(Mask(first) | Mask(second) << kLanes);
  }
  for (; last - from > static_cast<std::ptrdiff_t>(kLanes); from += kLanes) {
    const Lanes hits = hitsAt(from);
    if (Any(hits)) return from + FirstHit(hits);
  }
  // Lanes before `from` were tested already and had no hit.
  const std::uint8_t* const final = last - kLanes;
  return final + FirstHit(hitsAt(final));
}

// One comparison for each distinct stop and break: the compiler cannot know
// that a repeated one adds nothing.
template <bool kPairs, std::size_t kStops, std::size_t kBreaks>
const std::uint8_t* FindEnd(const Stretch& stretch, const std::uint8_t* from, const std::uint8_t* end) {
  std::array<Lanes, Stretch::kMaxStops> stops;
  std::array<Lanes, Stretch::kMaxStops> breaks;
  for (std::size_t i = 0; i < Stretch::kMaxStops; ++i) {
    stops[i] = Splat(stretch.stops[i]);
    breaks[i] = Splat(stretch.breaks[i]);
  }
  const std::uint8_t* const found = FirstHitBeforeLast(from, end, stretch.breaks[0], [&](const std::uint8_t* at) {
    const Lanes hits = AnyOf<kStops>(Load(at), stops);
    return kPairs ? hits & AnyOf<kBreaks>(Load(at + 1), breaks) : hits;
  });
  // The last byte: a stop ends the stretch there even with pairs, since what
  // follows it is not known yet.
  if (found != end - 1 || stretch.EndsAt(found, end)) return found;
  return end;
}

}  // namespace

const std::uint8_t* FindStretchEnd(const Stretch& stretch, const std::uint8_t* from, const std::uint8_t* end) {
  static_assert(Stretch::kMaxStops == 2, "one instance for each count of stops and breaks");
  if (from == end) return end;
  const std::size_t stops = Distinct(stretch.stops);
  if (!stretch.pairs) {
    return stops == 1 ? FindEnd<false, 1, 1>(stretch, from, end) : FindEnd<false, 2, 1>(stretch, from, end);
  }
  // Pairs have a single stop.
  return Distinct(stretch.breaks) == 1 ? FindEnd<true, 1, 1>(stretch, from, end) : FindEnd<true, 1, 2>(stretch, from, end);
}

std::size_t Stretch::CountWholeRuns(const std::uint8_t* at, const std::uint8_t* end) const {
  const Lanes lead = Splat(stops[0]);
  const auto notLead = [&](const std::uint8_t* from) { return reinterpret_cast<Lanes>(Load(from) != lead); };
  // Most runs end within one chunk.
  if (end - at > static_cast<std::ptrdiff_t>(kLanes)) {
    if (const std::size_t length = FirstHit(notLead(at)); length < kLanes) return wholeRuns[length];
  }
  const std::uint8_t* const lastInRun = FirstHitBeforeLast(at, end, static_cast<std::uint8_t>(~stops[0]), notLead);
  const auto length = static_cast<std::size_t>(lastInRun - at) + (*lastInRun == stops[0] ? 1 : 0);
  return wholeRuns[std::min(length, wholeRuns.size() - 1)];
}

}  // namespace kelbrin
