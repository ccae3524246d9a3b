#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "ByteRule.h"
#include "Failure.h"
#include "PageBuffer.h"

namespace kelbrin {

// Passes what a rule writes on to another sink (see RuleRunner) and counts it.
template <class Sink>
class Counted {
 public:
  explicit Counted(Sink& out) : out_(out) {}

  std::uint8_t* Room(std::size_t count) {
    room_ = out_.Room(count);
    return room_;
  }
  void Commit(std::uint8_t* end) {
    count_ += end - room_;
    out_.Commit(end);
  }
  std::int64_t Count() const { return count_; }

 private:
  Sink& out_;
  std::uint8_t* room_ = nullptr;
  std::int64_t count_ = 0;
};

// Passes what a rule writes on to another sink, counts it, and tells whether
// it is, so far, exactly what the rule read. The stream shows it each block
// of the input before the rule reads it, and says when the rule is through
// with it. While the two agree, the output trails the input only by the few
// bytes a rule holds back, which it keeps from the block before.
template <class Sink>
class Compared {
 public:
  explicit Compared(Sink& out) : out_(out) {}

  // The next bytes of the input, which stay where they are until Passed().
  void Reading(std::span<const std::uint8_t> bytes) { block_ = bytes; }
  void Passed() {
    if (same_) KeepWhatTrails();
    blockStart_ += static_cast<std::int64_t>(block_.size());
    block_ = {};
  }

  std::uint8_t* Room(std::size_t count) {
    room_ = out_.Room(count);
    return room_;
  }
  void Commit(std::uint8_t* end) {
    const auto count = static_cast<std::size_t>(end - room_);
    if (same_) Compare({room_, count});
    written_ += static_cast<std::int64_t>(count);
    out_.Commit(end);
  }

  std::int64_t Count() const { return written_; }
  // Whether the output is the input, once the input has ended at `consumed`.
  bool Same(std::int64_t consumed) const { return same_ && written_ == consumed; }
  // Whether the output has been the input so far.
  bool SameSoFar() const { return same_; }

 private:
  // The input from `at` on: in the block, or in what was kept of the ones
  // before it.
  bool Matches(std::int64_t at, std::span<const std::uint8_t> bytes) const {
    for (std::size_t i = 0; i < bytes.size(); ++i, ++at) {
      if (at < KeptStart() || at >= BlockEnd() || InputAt(at) != bytes[i]) return false;
    }
    return true;
  }

  // Where what is kept starts, and where the block ends, in the input.
  std::int64_t KeptStart() const { return blockStart_ - static_cast<std::int64_t>(kept_.size()); }
  std::int64_t BlockEnd() const { return blockStart_ + static_cast<std::int64_t>(block_.size()); }
  // The input byte at `at`, from KeptStart() up to BlockEnd().
  std::uint8_t InputAt(std::int64_t at) const {
    return at < blockStart_ ? kept_[static_cast<std::size_t>(at - KeptStart())]
                            : block_[static_cast<std::size_t>(at - blockStart_)];
  }

  void Compare(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    if (written_ >= blockStart_ && written_ + static_cast<std::int64_t>(bytes.size()) <= BlockEnd()) {
      same_ = std::memcmp(bytes.data(), block_.data() + (written_ - blockStart_), bytes.size()) == 0;
    } else {
      same_ = Matches(written_, bytes);
    }
  }

  // The input bytes the output has not reached yet, for the next block. A
  // rule that holds back more than a few never writes them as read: it drops
  // them.
  void KeepWhatTrails() {
    const std::int64_t from = std::max(written_, KeptStart());
    if (BlockEnd() - from > kMostTrailing) {
      same_ = false;
      return;
    }
    std::vector<std::uint8_t> trailing;
    for (std::int64_t at = from; at < BlockEnd(); ++at) trailing.push_back(InputAt(at));
    kept_ = std::move(trailing);
  }

  static constexpr std::int64_t kMostTrailing = 4096;

  Sink& out_;
  std::uint8_t* room_ = nullptr;
  std::int64_t written_ = 0;
  bool same_ = true;
  std::span<const std::uint8_t> block_;
  std::int64_t blockStart_ = 0;  // where the block lies in the input
  std::vector<std::uint8_t> kept_;  // the input just before the block
};

// Room for a rule's output that is thrown away, for a run that only counts it.
class Discard {
 public:
  std::uint8_t* Room(std::size_t) { return scratch_.data(); }
  void Commit(std::uint8_t*) {}
  IoStatus Status() const { return {}; }

 private:
  PageBuffer scratch_{RuleRunner::PieceRoom(RuleRunner::kPiece)};
};

}  // namespace kelbrin
