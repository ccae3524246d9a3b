#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "BlockWalk.h"

namespace kelbrin {

// A row that applies to every byte the state's other rows do not name.
inline constexpr int kAnyOtherByte = -1;

// Whether a row writes the byte it read, after its own bytes.
enum class Echo : bool { Drop, Write };

// One row of a byte rule's state table: in `state`, reading `byte` writes
// `writes`, then the byte itself if `echo` says so, and moves to `next`.
// State 0 is the ground state, where a step starts and ends.
struct RuleRow {
  std::uint8_t state;
  int byte;
  std::string_view writes;
  Echo echo;
  std::uint8_t next;
};

class ByteRule;

// A rule's way through a whole block: from `state`, it writes from `out` on
// exactly what the rule's steps write for the `count` bytes, and returns the
// end of it, with the state after them in `state`. `out` has room for what
// the steps write (at most count * ByteRule::kMaxWritten) and kBlockSlack.
using BlockPath = std::uint8_t* (*)(const ByteRule& rule, std::uint8_t& state, const std::uint8_t* bytes,
                                    std::size_t count, std::uint8_t* out);

// The block path of a rule that has no faster one: its steps, one by one.
std::uint8_t* StepThrough(const ByteRule& rule, std::uint8_t& state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out);

// The block path of two rules chained: the first's block path into a small
// buffer, then the second's, a piece at a time.
std::uint8_t* PipeThrough(const ByteRule& rule, std::uint8_t& state, const std::uint8_t* bytes, std::size_t count,
                          std::uint8_t* out);

// A byte rule's state table, compiled into one action per state and byte.
class ByteRule {
 public:
  // States of one table; two rules chained have up to this many squared.
  static constexpr std::size_t kMaxStates = 4;
  static constexpr std::size_t kChainStates = kMaxStates * kMaxStates;
  // Bytes one step writes, two rules chained included.
  static constexpr std::size_t kMaxWritten = 6;

  // Eight bytes, so that finding one takes a shift rather than a multiply,
  // and writing its bytes one copy.
  struct alignas(8) Action {
    std::array<std::uint8_t, kMaxWritten> bytes;
    std::uint8_t count;
    std::uint8_t next;
  };

  explicit ByteRule(std::span<const RuleRow> rows, BlockPath blockPath = StepThrough);

  // Two rules as one: what `first` writes for a byte, `second` reads. The
  // state is first's state * kMaxStates + second's. Both must outlive it.
  ByteRule(const ByteRule& first, const ByteRule& second);

  const Action& On(std::uint8_t state, std::uint8_t byte) const { return actions_[state * 256u + byte]; }

  // The input ended in `state`: the rule writes what its any-other-byte row
  // would write before the byte, as if a byte that writes nothing followed.
  const Action& AtEnd(std::uint8_t state) const { return atEnd_[state]; }

  std::uint8_t* Block(std::uint8_t& state, const std::uint8_t* bytes, std::size_t count, std::uint8_t* out) const {
    return blockPath_(*this, state, bytes, count, out);
  }

  // The most bytes one step writes.
  std::size_t MostWritten() const { return mostWritten_; }

  // Whether reading `byte` brings the rule back to state 0 from every state:
  // what follows such a byte can be rewritten without knowing what came
  // before it.
  bool Resets(std::uint8_t byte) const { return resets_[byte]; }

  // The two rules of a chain.
  const ByteRule& First() const { return *first_; }
  const ByteRule& Second() const { return *second_; }

 private:
  void FindMostWritten();
  void FindResets();

  // 256 for each state; a fixed array, since finding a vector's would take a
  // load at every step.
  std::array<Action, kChainStates * 256> actions_{};
  std::array<Action, kChainStates> atEnd_{};
  BlockPath blockPath_;
  std::size_t mostWritten_ = 0;
  std::array<bool, 256> resets_{};
  const ByteRule* first_ = nullptr;
  const ByteRule* second_ = nullptr;
};

// Writes what `action` writes at `out`, which has room for the whole action;
// copying all of it costs less than copying `count` bytes.
inline std::uint8_t* Write(const ByteRule::Action& action, std::uint8_t* out) {
  static_assert(sizeof(action) <= kBlockSlack);
  std::memcpy(out, &action, sizeof(action));
  return out + action.count;
}

// A rule at work on one stream: the table and the state between two bytes.
// It writes to a sink, which lends room for bytes and takes back what was
// written in it:
//   std::uint8_t* Room(std::size_t count)   room for `count` bytes
//   void Commit(std::uint8_t* end)          the bytes up to `end` are written
// Bytes stored past `end` within the room count for nothing.
class RuleRunner {
 public:
  // A block is handed to the block path in pieces of at most this many bytes,
  // so that a sink never lends more than PieceRoom(kPiece).
  static constexpr std::size_t kPiece = 16 * 1024;
  static constexpr std::size_t PieceRoom(std::size_t count) { return count * ByteRule::kMaxWritten + kBlockSlack; }

  explicit RuleRunner(const ByteRule& rule, std::uint8_t state = 0) : rule_(rule), state_(state) {}

  // The state between the last byte fed and the next.
  std::uint8_t State() const { return state_; }

  // One step of the rule: the definition of what it does.
  template <class Sink>
  void Feed(std::uint8_t byte, Sink& out) {
    out.Commit(Step(byte, out.Room(sizeof(ByteRule::Action))));
  }

  // The same bytes as feeding one byte at a time, whatever the blocks.
  template <class Sink>
  void Feed(const std::uint8_t* bytes, std::size_t count, Sink& out) {
    while (count > 0) {
      const std::size_t piece = std::min(count, kPiece);
      out.Commit(FeedPiece(bytes, piece, out.Room(PieceRoom(piece))));
      bytes += piece;
      count -= piece;
    }
  }

  template <class Sink>
  void Finish(Sink& out) {
    out.Commit(Finish(out.Room(sizeof(ByteRule::Action))));
  }

 private:
  // The same on plain memory, with the room each needs; they return the end of
  // what they wrote.
  std::uint8_t* Step(std::uint8_t byte, std::uint8_t* out) {
    const ByteRule::Action& action = rule_.On(state_, byte);
    state_ = action.next;
    return Write(action, out);
  }
  std::uint8_t* FeedPiece(const std::uint8_t* bytes, std::size_t count, std::uint8_t* out) {
    return rule_.Block(state_, bytes, count, out);
  }
  std::uint8_t* Finish(std::uint8_t* out) {
    const ByteRule::Action& action = rule_.AtEnd(state_);
    state_ = action.next;
    return Write(action, out);
  }

  const ByteRule& rule_;
  std::uint8_t state_;
};

}  // namespace kelbrin
