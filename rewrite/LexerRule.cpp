#include "LexerRule.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <stdexcept>

#include "BlockPaths.h"

namespace kelbrin {
namespace {

// The stops' masks of one chunk, found when first asked for.
template <class Chunk>
class StopMasks {
 public:
  StopMasks(const std::uint8_t* chunk, std::size_t valid, bool last)
      : lanes_(chunk), chunk_(chunk), valid_(valid), last_(last) {}

  std::uint64_t Of(const LexerRule::Run& run, std::size_t index) {
    if (!(known_ >> index & 1)) {
      masks_[index] = Find(run);
      known_ |= 1u << index;
    }
    return masks_[index];
  }

 private:
  // A pair's lead at the chunk's end is taken to have a follower after it
  // when the next byte is not known.
  std::uint64_t Find(const LexerRule::Run& run) const {
    std::uint64_t mask = lanes_.MaskAny(run.stops.data(), run.stopCount);
    for (std::size_t i = 0; i < run.pairCount; ++i) {
      const LexerRule::Pair& pair = run.pairs[i];
      const bool followedNext = last_ || pair.follows[chunk_[valid_]];
      const std::uint64_t followed =
          lanes_.MaskAny(pair.followers.data(), pair.followerCount) >> 1 | std::uint64_t{followedNext} << (valid_ - 1);
      mask |= lanes_.MaskAny(&pair.lead, 1) & followed;
    }
    return mask;
  }

  const Chunk lanes_;
  const std::uint8_t* chunk_;
  std::size_t valid_;
  bool last_;
  std::array<std::uint64_t, LexerRule::kMostRuns> masks_;
  unsigned known_ = 0;
};

// A lexer's walk over one block. Inside a run the state is known exactly only
// at `known_`: the bytes after it are the run's plain ones, which every state
// of the run passes alike, so the exact state is found only where it matters,
// by taking the steps again from the last byte that resets the run.
class LexerWalk {
 public:
  LexerWalk(const LexerRule& rule, RulePart& part, const std::uint8_t* bytes)
      : rule_(rule), part_(part), bytes_(bytes), at_(part.at) {}

  const LexerRule::Run* Run() const { return rule_.RunOf(at_); }
  std::size_t RunIndex() const { return rule_.RunIndex(at_); }
  std::uint8_t At() const { return at_; }

  // The state at `offset` in the block, within the run it is in.
  void KnowAt(std::size_t offset) {
    if (const LexerRule::Run* run = Run(); run != nullptr && !run->single) {
      at_ = rule_.AfterRun(*run, at_, bytes_, known_, offset);
    }
    known_ = offset;
  }

  // The step of the byte at `offset`, which stops the run or follows no run.
  std::uint8_t* Step(std::size_t offset, std::uint8_t* out) {
    const std::uint8_t byte = bytes_[offset];
    const LexerRule::Run* run = Run();
    if (run == nullptr || !run->uniform[byte]) KnowAt(offset);
    const ByteRule::Action& action = rule_.On(at_, byte);
    if (rule_.KeepsData(at_) || rule_.KeepsData(action.next)) {
      part_.at = at_;
      out = rule_.StepOn(part_, byte, out);
      at_ = part_.at;
    } else {
      out = Write(action, out);
      at_ = action.next;
    }
    known_ = offset + 1;
    return out;
  }

  void End(std::size_t offset) {
    KnowAt(offset);
    part_.at = at_;
  }

 private:
  const LexerRule& rule_;
  RulePart& part_;
  const std::uint8_t* bytes_;
  std::uint8_t at_;
  std::size_t known_ = 0;
};

// The lexer's walk over a block: with `kWrite`, writing what the table's
// steps write; with `kStopAtFlip`, stopping after the first byte whose step
// takes the lexer from a literal's states to others' or back.
template <class Chunk, bool kWrite, bool kStopAtFlip>
std::uint8_t* Walk(const LexerRule& rule, RulePart& state, const std::uint8_t* bytes, std::size_t count,
                   const LexerRule::Literals* literal, std::uint8_t* out, std::size_t& read) {
  LexerWalk walk(rule, state, bytes);
  const bool inLiteral = kStopAtFlip && (*literal)[state.at];
  std::array<std::uint8_t, sizeof(ByteRule::Action) + kBlockSlack> ignored;
  std::size_t offset = 0;  // of the chunk in the block
  read = count;
  ForEachChunkWhile(bytes, count, [&](const std::uint8_t* chunk, std::size_t valid, bool last) {
    StopMasks<Chunk> masks(chunk, valid, last);
    std::size_t pos = 0;
    while (pos < valid) {
      if (const LexerRule::Run* run = walk.Run()) {
        const std::uint64_t ahead = masks.Of(*run, walk.RunIndex()) & BitsFrom(pos);
        const std::size_t stop = ahead == 0 ? valid : std::min<std::size_t>(std::countr_zero(ahead), valid);
        if (kWrite && run->echo) out = CopyPlain(out, chunk + pos, stop - pos);
        pos = stop;
        if (pos == valid) break;
      }
      if constexpr (kWrite) {
        out = walk.Step(offset + pos++, out);
      } else {
        walk.Step(offset + pos++, ignored.data());
      }
      if (kStopAtFlip && (*literal)[walk.At()] != inLiteral) {
        read = offset + pos;
        return false;
      }
    }
    offset += valid;
    return true;
  });
  walk.End(read);
  return out;
}

struct LexerKernel {
  template <class Chunk>
  static std::uint8_t* Run(const ByteRule& base, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                           std::uint8_t* out) {
    std::size_t read = 0;
    return Walk<Chunk, true, false>(static_cast<const LexerRule&>(base), *state, bytes, count, nullptr, out, read);
  }

  template <class Chunk>
  static std::size_t Scan(const LexerRule& rule, RulePart& state, const std::uint8_t* bytes, std::size_t count,
                          const LexerRule::Literals& literal) {
    std::size_t read = 0;
    Walk<Chunk, false, true>(rule, state, bytes, count, &literal, nullptr, read);
    return read;
  }

  template <class Chunk>
  static std::uint8_t* ScanWriting(const LexerRule& rule, RulePart& state, const std::uint8_t* bytes,
                                   std::size_t count, const LexerRule::Literals& literal, std::uint8_t* out,
                                   std::size_t& read) {
    return Walk<Chunk, true, true>(rule, state, bytes, count, &literal, out, read);
  }
};

#if defined(__SSE2__)
[[gnu::target("avx2,bmi,bmi2"), gnu::flatten]] std::size_t ScanAvx2(const LexerRule& rule, RulePart& state,
                                                                    const std::uint8_t* bytes, std::size_t count,
                                                                    const LexerRule::Literals& literal) {
  return LexerKernel::Scan<Avx2Chunk>(rule, state, bytes, count, literal);
}

[[gnu::target("avx2,bmi,bmi2"), gnu::flatten]] std::uint8_t* ScanWritingAvx2(
    const LexerRule& rule, RulePart& state, const std::uint8_t* bytes, std::size_t count,
    const LexerRule::Literals& literal, std::uint8_t* out, std::size_t& read) {
  return LexerKernel::ScanWriting<Avx2Chunk>(rule, state, bytes, count, literal, out, read);
}
#endif

LexerRule::ScanPath ScanPathFor(Width width) {
  switch (width) {
#if defined(__SSE2__)
    case Width::Avx2: return ScanAvx2;
    case Width::Sse2: return LexerKernel::Scan<Sse2Chunk>;
#endif
    default: return LexerKernel::Scan<ScalarChunk>;
  }
}

LexerRule::ScanWritingPath ScanWritingPathFor(Width width) {
  switch (width) {
#if defined(__SSE2__)
    case Width::Avx2: return ScanWritingAvx2;
    case Width::Sse2: return LexerKernel::ScanWriting<Sse2Chunk>;
#endif
    default: return LexerKernel::ScanWriting<ScalarChunk>;
  }
}

bool IsIn(std::span<const std::uint8_t> states, std::uint8_t state) {
  return std::find(states.begin(), states.end(), state) != states.end();
}

bool SameAction(const ByteRule::Action& a, const ByteRule::Action& b) {
  return a.count == b.count && a.next == b.next && std::equal(a.bytes.begin(), a.bytes.begin() + a.count, b.bytes.begin());
}

}  // namespace

LexerRule::LexerRule(const LexerTable& table, Width width)
    : ByteRule(table.Table(), BlockPathFor<LexerKernel>(width)),
      scanPath_(ScanPathFor(width)),
      scanWritingPath_(ScanWritingPathFor(width)) {
  runOf_.fill(kMaxStates);
  for (std::span<const std::uint8_t> states : table.Runs()) FindRun(states);
}

void LexerRule::FindRun(std::span<const std::uint8_t> listed) {
  // States no input leads to (those of another encoding) have no rows here.
  std::vector<std::uint8_t> reached;
  std::copy_if(listed.begin(), listed.end(), std::back_inserter(reached), [&](std::uint8_t s) { return Reachable(s); });
  const std::span<const std::uint8_t> states = reached;
  Run run;
  run.first = states.front();
  run.single = states.size() == 1;
  // The run writes its bytes as read if its first state writes a blank so.
  run.echo = On(run.first, ' ').count == 1;
  const auto plain = [&](std::uint8_t state, std::uint8_t byte) {
    const Action& action = On(state, byte);
    const bool asRun = run.echo ? action.count == 1 && action.bytes[0] == byte : action.count == 0;
    return asRun && IsIn(states, action.next) && !KeepsData(state) && !KeepsData(action.next);
  };
  std::array<bool, 256> stops{};
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    bool allPlain = true;
    bool toFirst = true;
    bool uniform = true;
    for (std::uint8_t state : states) {
      allPlain = allPlain && plain(state, byte);
      toFirst = toFirst && plain(state, byte) && On(state, byte).next == run.first;
      uniform = uniform && SameAction(On(state, byte), On(run.first, byte)) && !KeepsData(On(state, byte).next);
    }
    run.resets[b] = toFirst;
    run.uniform[b] = uniform;
    stops[b] = !allPlain;
  }
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    if (!stops[b]) continue;
    if (run.uniform[b] && run.echo && run.pairCount < run.pairs.size() && FindPair(run, states, stops, byte)) continue;
    if (run.stopCount == kMostStops) throw std::logic_error("a lexer's run has too many stops");
    run.stops[run.stopCount++] = byte;
  }
  if (runs_.size() == kMostRuns) throw std::logic_error("a lexer has too many runs");
  for (std::uint8_t state : states) runOf_[state] = runs_.size();
  runs_.push_back(run);
}

bool LexerRule::FindPair(Run& run, std::span<const std::uint8_t> states, const std::array<bool, 256>& stops,
                         std::uint8_t lead) {
  const Action& toLookAhead = On(run.first, lead);
  const std::uint8_t ahead = toLookAhead.next;
  if (IsIn(states, ahead) || KeepsData(ahead) || runOf_[ahead] != kMaxStates) return false;
  // The lead is written as read, at once or held back and written before the byte after it.
  const bool held = toLookAhead.count == 0;
  if (!held && !(toLookAhead.count == 1 && toLookAhead.bytes[0] == lead)) return false;
  Pair pair;
  pair.lead = lead;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    const Action& read = On(ahead, byte);
    const Action& asFirst = On(run.first, byte);
    // A stop after the lead needs the lead's step first: its own comes from the look-ahead state.
    const bool plainAfter = !stops[b] && asFirst.count == 1 && asFirst.bytes[0] == byte && IsIn(states, asFirst.next) &&
                            !KeepsData(asFirst.next);
    const std::size_t leadBytes = held ? 1 : 0;
    const bool asIfPlain = plainAfter && read.next == asFirst.next && read.count == leadBytes + 1 &&
                           (!held || read.bytes[0] == lead) && read.bytes[leadBytes] == byte;
    if (asIfPlain) continue;
    if (pair.followerCount == kMostStops) return false;
    pair.followers[pair.followerCount++] = byte;
    pair.follows[b] = true;
  }
  run.pairs[run.pairCount++] = pair;
  return true;
}

std::uint8_t LexerRule::AfterRun(const Run& run, std::uint8_t at, const std::uint8_t* bytes, std::size_t start,
                                 std::size_t stop) const {
  std::size_t from = stop;
  while (from > start && !run.resets[bytes[from - 1]]) --from;
  if (from > start) at = run.first;
  for (; from < stop; ++from) at = On(at, bytes[from]).next;
  return at;
}

}  // namespace kelbrin
