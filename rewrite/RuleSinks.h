#pragma once

#include <cstddef>
#include <cstdint>

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
