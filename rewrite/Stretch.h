#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelbrin {

// What the block path may pass over in one state of a rule without stepping
// byte by byte: bytes that leave the state as it is and write themselves
// (Copy) or nothing (Drop), up to the first of a few stop bytes.
struct Stretch {
  static constexpr std::size_t kMaxStops = 2;
  enum class Kind : std::uint8_t { None, Copy, Drop };

  Kind kind = Kind::None;
  // Unused places repeat the first stop.
  std::array<std::uint8_t, kMaxStops> stops{};
  // With `pairs`, the stretch has a single stop, and that stop followed by any
  // byte but `breaks` writes both bytes as read and comes back to the state:
  // such a pair (a lone blank or slash between words) belongs to the stretch.
  // The stop is itself one of `breaks`, so a pair never ends on a stop.
  bool pairs = false;
  std::array<std::uint8_t, kMaxStops> breaks{};

  // With a run, the single stop read `runLength` times in a row comes back to
  // the state, writing `runWriteCount` bytes (four blanks make a tab).
  // `runWrites` holds what kMaxRunsAtOnce runs write, one after the other.
  static constexpr std::size_t kMaxRunLength = 4;
  static constexpr std::size_t kMaxRunWrites = 4;
  static constexpr std::size_t kMaxRunsAtOnce = 16;
  std::uint8_t runLength = 0;
  std::uint8_t runWriteCount = 0;
  std::array<std::uint8_t, kMaxRunWrites * kMaxRunsAtOnce> runWrites{};
  // How many whole runs, up to kMaxRunsAtOnce, so many stops in a row make
  // (a table: a division costs dozens of cycles).
  std::array<std::uint8_t, kMaxRunLength * kMaxRunsAtOnce + 1> wholeRuns{};

  // How many whole runs start at `at`, within the bytes before `end`, up to
  // kMaxRunsAtOnce. Most runs of blanks are too short to count: a glance tells.
  std::size_t WholeRunsAt(const std::uint8_t* at, const std::uint8_t* end) const {
    if (runLength == 0 || end - at < runLength || at[runLength - 1] != stops[0]) return 0;
    return CountWholeRuns(at, end);
  }

  // Whether the stretch ends right at `at`, one of the bytes before `end`;
  // the test FindStretchEnd makes for many bytes at once.
  bool EndsAt(const std::uint8_t* at, const std::uint8_t* end) const {
    if (!IsOneOf(*at, stops)) return false;
    return !pairs || at + 1 == end || IsOneOf(at[1], breaks);
  }

 private:
  std::size_t CountWholeRuns(const std::uint8_t* at, const std::uint8_t* end) const;

  static bool IsOneOf(std::uint8_t byte, const std::array<std::uint8_t, kMaxStops>& bytes) {
    for (std::uint8_t b : bytes)
      if (byte == b) return true;
    return false;
  }
};

// The first byte in [from, end) at which `stretch` ends: a stop, or with
// pairs a stop followed by a break or by the end; `end` if there is none.
const std::uint8_t* FindStretchEnd(const Stretch& stretch, const std::uint8_t* from, const std::uint8_t* end);

}  // namespace kelbrin
