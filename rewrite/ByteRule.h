#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

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

// A byte rule's state table, compiled into one action per state and byte.
class ByteRule {
 public:
  static constexpr std::size_t kMaxStates = 4;
  static constexpr std::size_t kMaxWritten = 4;

  struct Action {
    std::uint8_t count;
    std::array<std::uint8_t, kMaxWritten> bytes;
    std::uint8_t next;
  };

  explicit ByteRule(std::span<const RuleRow> rows);

  const Action& On(std::uint8_t state, std::uint8_t byte) const { return actions_[state][byte]; }

  // The input ended in `state`: the rule writes what its any-other-byte row
  // would write before the byte, as if a byte that writes nothing followed.
  const Action& AtEnd(std::uint8_t state) const { return atEnd_[state]; }

 private:
  std::array<std::array<Action, 256>, kMaxStates> actions_{};
  std::array<Action, kMaxStates> atEnd_{};
};

// A rule at work on one stream: the table and the state between two bytes.
class RuleRunner {
 public:
  explicit RuleRunner(const ByteRule& rule) : rule_(rule) {}

  template <class Sink>
  void Feed(std::uint8_t byte, Sink& out) {
    Apply(rule_.On(state_, byte), out);
  }

  template <class Sink>
  void Feed(const std::uint8_t* bytes, std::size_t count, Sink& out) {
    for (std::size_t i = 0; i < count; ++i) Feed(bytes[i], out);
  }

  template <class Sink>
  void Finish(Sink& out) {
    Apply(rule_.AtEnd(state_), out);
  }

 private:
  template <class Sink>
  void Apply(const ByteRule::Action& action, Sink& out) {
    out.Write(action.bytes.data(), action.count);
    state_ = action.next;
  }

  const ByteRule& rule_;
  std::uint8_t state_ = 0;
};

}  // namespace kelbrin
