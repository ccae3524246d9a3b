#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ByteRule.h"

namespace kelbrin {

// Two rules as one stream: what the first writes feeds the second, a small
// piece at a time through a buffer that stays in the cache.
class RuleChain {
 public:
  // Small enough that the piece the first rule writes is still in the fastest
  // cache when the second reads it.
  static constexpr std::size_t kPiece = 16 * 1024;

  RuleChain(const ByteRule& first, const ByteRule& second)
      : first_(first), second_(second), middle_(RuleRunner::PieceRoom(kPiece)) {}

  template <class Sink>
  void Feed(const std::uint8_t* bytes, std::size_t count, Sink& out) {
    while (count > 0) {
      const std::size_t piece = std::min(count, kPiece);
      PassOn(first_.FeedPiece(bytes, piece, middle_.data()), out);
      bytes += piece;
      count -= piece;
    }
  }

  template <class Sink>
  void Finish(Sink& out) {
    PassOn(first_.Finish(middle_.data()), out);
    second_.Finish(out);
  }

 private:
  template <class Sink>
  void PassOn(const std::uint8_t* end, Sink& out) {
    second_.Feed(middle_.data(), static_cast<std::size_t>(end - middle_.data()), out);
  }

  RuleRunner first_;
  RuleRunner second_;
  std::vector<std::uint8_t> middle_;
};

}  // namespace kelbrin
