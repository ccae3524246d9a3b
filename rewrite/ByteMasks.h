#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace kelbrin {

// The block paths look at text 64 bytes at a time, as one bit per byte: bit i
// of a mask stands for byte i of the chunk. A chunk class loads 64 bytes, and
// its Mask(bytes...) tells which of them are any of the given bytes.
inline constexpr std::size_t kChunk = 64;

// One byte at a time: the way where nothing wider is known, and the measure
// of the wider ways in the tests.
class ScalarChunk {
 public:
  explicit ScalarChunk(const std::uint8_t* at) { std::memcpy(bytes_, at, kChunk); }

  template <std::same_as<std::uint8_t>... Bytes>
  std::uint64_t Mask(Bytes... bytes) const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kChunk; ++i) mask |= std::uint64_t{((bytes_[i] == bytes) || ...)} << i;
    return mask;
  }

  // The same for bytes known only at run time.
  std::uint64_t MaskAny(const std::uint8_t* bytes, std::size_t count) const {
    std::uint64_t mask = 0;
    for (std::size_t j = 0; j < count; ++j) {
      for (std::size_t i = 0; i < kChunk; ++i) mask |= std::uint64_t{bytes_[i] == bytes[j]} << i;
    }
    return mask;
  }

  // The bytes from 0x80 on.
  std::uint64_t MaskHigh() const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kChunk; ++i) mask |= std::uint64_t{bytes_[i] >= 0x80} << i;
    return mask;
  }

 private:
  std::uint8_t bytes_[kChunk];
};

#if defined(__SSE2__)
// Sixteen bytes to a compare: SSE2 is part of every x86-64.
class Sse2Chunk {
 public:
  explicit Sse2Chunk(const std::uint8_t* at) {
    for (std::size_t i = 0; i < kParts; ++i) parts_[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
  }

  template <std::same_as<std::uint8_t>... Bytes>
  std::uint64_t Mask(Bytes... bytes) const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kParts; ++i) {
      const __m128i hits = (... | _mm_cmpeq_epi8(parts_[i], _mm_set1_epi8(static_cast<char>(bytes))));
      mask |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(hits))} << (16 * i);
    }
    return mask;
  }

  std::uint64_t MaskAny(const std::uint8_t* bytes, std::size_t count) const {
    __m128i hits[kParts] = {};
    for (std::size_t j = 0; j < count; ++j) {
      const __m128i byte = _mm_set1_epi8(static_cast<char>(bytes[j]));
      for (std::size_t i = 0; i < kParts; ++i) hits[i] = _mm_or_si128(hits[i], _mm_cmpeq_epi8(parts_[i], byte));
    }
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kParts; ++i) {
      mask |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(hits[i]))} << (16 * i);
    }
    return mask;
  }

  std::uint64_t MaskHigh() const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kParts; ++i) {
      mask |= std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(parts_[i]))} << (16 * i);
    }
    return mask;
  }

 private:
  static constexpr std::size_t kParts = kChunk / 16;
  __m128i parts_[kParts];
};

// Thirty-two bytes to a compare, on processors that have AVX2. Only code
// compiled for AVX2 may use it (see BlockPaths.h); Widths() offers it with
// BMI beside.
class Avx2Chunk {
 public:
  [[gnu::target("avx2")]] explicit Avx2Chunk(const std::uint8_t* at) {
    for (std::size_t i = 0; i < kParts; ++i) parts_[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32 * i));
  }

  template <std::same_as<std::uint8_t>... Bytes>
  [[gnu::target("avx2")]] std::uint64_t Mask(Bytes... bytes) const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kParts; ++i) {
      const __m256i hits = (... | _mm256_cmpeq_epi8(parts_[i], _mm256_set1_epi8(static_cast<char>(bytes))));
      mask |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hits))} << (32 * i);
    }
    return mask;
  }

  [[gnu::target("avx2")]] std::uint64_t MaskAny(const std::uint8_t* bytes, std::size_t count) const {
    __m256i hits[kParts] = {};
    for (std::size_t j = 0; j < count; ++j) {
      const __m256i byte = _mm256_set1_epi8(static_cast<char>(bytes[j]));
      for (std::size_t i = 0; i < kParts; ++i) hits[i] = _mm256_or_si256(hits[i], _mm256_cmpeq_epi8(parts_[i], byte));
    }
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kParts; ++i) {
      mask |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hits[i]))} << (32 * i);
    }
    return mask;
  }

  [[gnu::target("avx2")]] std::uint64_t MaskHigh() const {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kParts; ++i) {
      mask |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(parts_[i]))} << (32 * i);
    }
    return mask;
  }

 private:
  static constexpr std::size_t kParts = kChunk / 32;
  __m256i parts_[kParts];
};
#endif

// The chunk classes this build has, narrowest first.
enum class Width { Scalar, Sse2, Avx2 };

// The widths this build has and this processor runs, narrowest first.
std::span<const Width> Widths();

// The widest of them.
inline Width Widest() { return Widths().back(); }

// The bits from `from` on (from < 64).
inline std::uint64_t BitsFrom(std::size_t from) { return ~std::uint64_t{0} << from; }

}  // namespace kelbrin
