#include "CommentRule.h"

#include <algorithm>
#include <bit>

#include "BlockPaths.h"

namespace kelbrin {
namespace {

enum : std::uint8_t { kGround, kSlash, kComment };

// Two slashes start a comment wherever they stand; the rule knows nothing of
// strings or block comments. A comment ends at the first CR or LF, which is
// written and ends the step, so the byte after it is read like any other:
// CR LF, LF-only and CR-only files all keep every line end and every line.
constexpr RuleRow kRows[] = {
    // state    byte read      writes  echo         next
    {kGround,   '/',           "",     Echo::Drop,  kSlash},
    {kGround,   kAnyOtherByte, "",     Echo::Write, kGround},
    {kSlash,    '/',           "",     Echo::Drop,  kComment},
    {kSlash,    kAnyOtherByte, "/",    Echo::Write, kGround},
    {kComment,  '\r',          "",     Echo::Write, kGround},
    {kComment,  '\n',          "",     Echo::Write, kGround},
    {kComment,  kAnyOtherByte, "",     Echo::Drop,  kComment},
};

constexpr std::uint8_t kSlashByte = '/';
constexpr std::uint8_t kCr = '\r';
constexpr std::uint8_t kLf = '\n';

// The rule over whole blocks. In the ground state every byte is written as
// read but a slash that another follows; inside a comment every byte is
// dropped but CR and LF. Only those places take the rule's steps: the bytes
// between them are copied, or passed over, a chunk at a time.
struct CommentBlocks {
  template <class Chunk>
  static std::uint8_t* Run(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes, std::size_t count,
                           std::uint8_t* out);
};

template <class Chunk>
std::uint8_t* CommentBlocks::Run(const ByteRule& rule, RulePart* state, const std::uint8_t* bytes,
                                 std::size_t count, std::uint8_t* out) {
  std::uint8_t at = state->at;
  const ByteRule::Action* const actions = rule.Actions();
  ForEachChunk(bytes, count, [&](const std::uint8_t* chunk, std::size_t valid, bool last) {
    const Chunk lanes(chunk);
    const std::uint64_t slashes = lanes.Mask(kSlashByte);
    // A slash at the end of the block may be the first of two: it is taken
    // to be, and stays pending.
    const bool slashNext = last || chunk[valid] == kSlashByte;
    const std::uint64_t pairs = slashes & (slashes >> 1 | std::uint64_t{slashNext} << (valid - 1));
    const std::uint64_t lineEnds = lanes.Mask(kCr, kLf);
    std::size_t pos = 0;
    while (pos < valid) {
      if (at == kGround) {
        const auto stop = std::min<std::size_t>(std::countr_zero(pairs & BitsFrom(pos)), valid);
        out = CopyPlain(out, chunk + pos, stop - pos);
        pos = stop;
        if (pos == valid) break;
      } else if (at == kComment) {
        const std::uint64_t ahead = lineEnds & BitsFrom(pos);
        if (ahead == 0) break;
        pos = static_cast<std::size_t>(std::countr_zero(ahead));
      }
      const ByteRule::Action& action = actions[at * 256u + chunk[pos++]];
      out = Write(action, out);
      at = action.next;
    }
  });
  state->at = at;
  return out;
}

}  // namespace

const ByteRule& CommentRule(Width width) {
  return ForWidth(width, [](Width w) { return ByteRule(kRows, BlockPathFor<CommentBlocks>(w)); });
}

}  // namespace kelbrin
