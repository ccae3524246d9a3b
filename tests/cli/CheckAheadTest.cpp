// --check over many files on two threads: whichever thread checks a file,
// the caller gets its result in order, and stopping early leaves nothing
// running.
#include <gtest/gtest.h>

#include "CheckAhead.h"
#include "CommentRule.h"
#include "TestFiles.h"

namespace kelbrin::cli {
namespace {

using test::TempDir;

struct Files {
  std::vector<std::string> paths;
  std::vector<Outcome> outcomes;  // Done for those not to be checked
};

// Unchanged, changed and missing files in turn; every fifth is not to be
// checked at all.
Files MakeFiles(const TempDir& dir, std::size_t count) {
  Files files;
  for (std::size_t n = 0; n < count; ++n) {
    const std::string path = dir / ((n % 5 == 4 ? "skip" : "f") + std::to_string(n) + ".pas");
    const Outcome kinds[] = {Outcome::Done, Outcome::WouldChange, Outcome::Failed};
    const Outcome outcome = n % 5 == 4 ? Outcome::Done : kinds[n % 3];
    if (outcome != Outcome::Failed) test::WriteBytes(path, outcome == Outcome::Done ? "x\r\n" : "x // y\r\n");
    files.paths.push_back(path);
    files.outcomes.push_back(outcome);
  }
  return files;
}

bool Probed(const std::string& path) { return path.find("skip") == std::string::npos; }

const ByteRule* RuleFor(const std::string& path) { return Probed(path) ? &CommentRule() : nullptr; }

TEST(CheckAhead, EveryFileGetsItsOwnResultInOrder) {
  TempDir dir;
  const Files files = MakeFiles(dir, 60);
  for (const bool start : {false, true}) {
    CheckAhead ahead(files.paths, RuleFor, PlatformFileSystem(), start);
    ChangeProbe mine(PlatformFileSystem());
    for (std::size_t n = 0; n < files.paths.size(); ++n) {
      if (!Probed(files.paths[n])) continue;
      const auto checked = ahead.Take(n);
      const FileResult result = checked ? *checked : mine.Probe(files.paths[n], CommentRule());
      EXPECT_EQ(result.outcome, files.outcomes[n]) << files.paths[n] << (start ? ", two threads" : "");
      EXPECT_EQ(result.why.reason, result.outcome == Outcome::Failed ? FailureReason::NotFound : FailureReason::None);
    }
  }
}

TEST(CheckAhead, ACallerThatStopsEarlyEndsTheOtherThread) {
  TempDir dir;
  const Files files = MakeFiles(dir, 200);
  CheckAhead ahead(files.paths, RuleFor, PlatformFileSystem(), true);
  const auto checked = ahead.Take(0);
  EXPECT_EQ(checked ? checked->outcome : ChangeProbe(PlatformFileSystem()).Probe(files.paths[0], CommentRule()).outcome,
            files.outcomes[0]);
}

}  // namespace
}  // namespace kelbrin::cli
