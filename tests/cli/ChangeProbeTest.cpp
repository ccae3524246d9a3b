// --check reads a file only until the rule first changes it, in blocks that
// grow: a change found in any block, and a byte the rule holds back over a
// block's end, give what reading the whole file gives.
#include <gtest/gtest.h>

#include "ChangeProbe.h"
#include "CommentRule.h"
#include "TestFiles.h"

namespace kelbrin::cli {
namespace {

TEST(ChangeProbe, FindsAChangeInAnyBlockAndNoneWhereThereIsNone) {
  struct Case {
    std::size_t at;  // where "//" or "/a" is put into 80,000 x's
    const char* put;
    Outcome outcome;
  };
  const std::size_t second = kFirstLook, third = kFirstLook + 16 * kFirstLook;
  const Case cases[] = {
      {0, "//", Outcome::WouldChange},          {second - 1, "//", Outcome::WouldChange},
      {second + 5, "//", Outcome::WouldChange}, {third - 1, "//", Outcome::WouldChange},
      {third + 100, "//", Outcome::WouldChange}, {79998, "//", Outcome::WouldChange},
      {second - 1, "/a", Outcome::Done},        {third - 1, "/a", Outcome::Done},
      {79999, "/", Outcome::Done},
  };
  test::TempDir dir;
  ChangeProbe probe(PlatformFileSystem());
  for (const Case& c : cases) {
    std::string bytes(80000, 'x');
    bytes.replace(c.at, std::string(c.put).size(), c.put);
    test::WriteBytes(dir / "f.pas", bytes);
    EXPECT_EQ(probe.Probe(dir / "f.pas", CommentRule()).outcome, c.outcome) << c.put << " at " << c.at;
  }
}

}  // namespace
}  // namespace kelbrin::cli
