#include "CommentRule.h"

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

}  // namespace

const ByteRule& CommentRule() {
  static const ByteRule rule(kRows);
  return rule;
}

}  // namespace kelbrin
