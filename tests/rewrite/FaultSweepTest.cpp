// Every call that a run makes to the file system, made to fail in turn, and
// for reads and writes also to move fewer bytes or none: whatever the call,
// the file ends up either as it was before the pass that met the fault, with
// nothing left beside it, or correctly tidied, and the result says which.
#include <gtest/gtest.h>

#include <algorithm>

#include "CommentRule.h"
#include "FaultInjectingFileSystem.h"
#include "PassesWithRules.h"
#include "Recorders.h"
#include "RewriteStream.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "RunJunbi.h"
#include "TabRule.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Effect = FaultInjectingFileSystem::Effect;
using Fault = FaultInjectingFileSystem::Fault;
using Names = std::vector<std::string>;

// Distinct codes, so that a result can be traced to the fault that caused it.
const IoStatus kInjected{FailureReason::Other, 4242};
const IoStatus kInjectedInRecovery{FailureReason::AccessDenied, 4343};

struct PassStep {
  PassKind kind;
  std::string prefix;
  const ByteRule* rule;
};

// Without backups both passes are one, with the two rules chained (the cases
// here select both).
std::vector<PassStep> StepsOf(const PassSelection& selection, bool backups) {
  std::vector<PassStep> steps;
  if (!backups) {
    steps.push_back({PassKind::CommentDelete, "", &CommentThenTabRule(selection.space3)});
    return steps;
  }
  if (selection.commentDelete) steps.push_back({PassKind::CommentDelete, "ComOld_", &CommentRule()});
  if (selection.spaceToTab) steps.push_back({PassKind::SpaceToTab, "TabOld_", &TabRule(selection.space3)});
  return steps;
}

// Several blocks of reading and writing, with work for both rules in each.
std::string MultiBlockText() {
  std::string text;
  while (text.size() < 5 * kStreamBlockSize / 2) text += "\tif (a / b) x();      // why\r\n";
  return text;
}

struct SweepCase {
  const char* what;
  std::string text;
  PassSelection selection;
  bool backups = true;
};

void PrintTo(const SweepCase& c, std::ostream* os) { *os << c.what; }

const SweepCase kCases[] = {
    {"one pass, several blocks", MultiBlockText(), {true, false, false}},
    {"both passes, several blocks", MultiBlockText(), {true, true, true}},
    {"both passes, a short file", "a = b / c; // note\r\n    x\r\n", {true, true, false}},
    {"both passes, an empty file", "", {true, true, false}},
    {"both passes without backups, several blocks", MultiBlockText(), {true, true, true}, false},
};

struct RunResult {
  std::optional<PassFailure> failure;
  std::vector<std::string> calls;
};

class FaultSweepTest : public testing::TestWithParam<SweepCase> {
 protected:
  void SetUp() override {
    steps_ = StepsOf(GetParam().selection, GetParam().backups);
    contents_ = {GetParam().text};
    for (const PassStep& step : steps_) contents_.push_back(ApplyRule(*step.rule, contents_.back()));
    TempDir dir;
    const RunResult clean = Run(dir, {});
    ASSERT_FALSE(clean.failure);
    calls_ = clean.calls;
  }

  RunResult Run(const TempDir& dir, const std::vector<Fault>& faults) const {
    WriteBytes(dir / "x.pas", GetParam().text);
    FaultInjectingFileSystem fs;
    for (const Fault& fault : faults) fs.Inject(fault);
    RecordingProgress progress;
    RecordingDisplay display;
    const TargetFile target{dir.Path(), "x.pas"};
    const PassSelection& selection = GetParam().selection;
    auto failure = GetParam().backups
                       ? RunJunbi(target, selection, progress, display, fs)
                       : RunPasses(target, selection, PassRules({.threeBlanks = selection.space3}), {.backups = false},
                                   progress, fs);
    return {std::move(failure), fs.Calls()};
  }

  // The pass that the n-th call (from 1) of a run without faults belongs to:
  // each pass begins by inspecting the target.
  std::size_t PassOfCall(std::size_t n) const {
    return static_cast<std::size_t>(std::count(calls_.begin(), calls_.begin() + static_cast<std::ptrdiff_t>(n), "Inspect")) - 1;
  }

  // Whether the n-th call is the close of the original just before the
  // result takes its name, when it has been read whole.
  bool IsHarmless(std::size_t n) const {
    return n + 1 < calls_.size() && calls_[n - 1] == "Close" && calls_[n] == "IdentifyPath" &&
           calls_[n + 1] == "Replace";
  }

  // Whether the n-th call is the read that finds the end of its pass's input.
  bool IsLastReadOfItsPass(std::size_t n) const {
    for (std::size_t later = n; later < calls_.size() && calls_[later] != "Inspect"; ++later)
      if (calls_[later] == "Read") return false;
    return true;
  }

  // The folder as the first `done` passes leave it: each backup holds what
  // its pass read, and the target what the last of them wrote.
  void ExpectDone(const TempDir& dir, std::size_t done) const {
    Names names = {"x.pas"};
    for (std::size_t i = 0; i < done; ++i) {
      if (steps_[i].prefix.empty()) continue;
      names.push_back(steps_[i].prefix + "x.pas");
      EXPECT_EQ(ReadBytes(dir / names.back()), contents_[i]) << names.back();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(dir.Names(), names);
    EXPECT_EQ(ReadBytes(dir / "x.pas"), contents_[done]);
  }

  void ExpectFailedIn(const TempDir& dir, const RunResult& result, std::size_t pass, const IoStatus& why) const {
    ExpectFailure(dir, result, pass, why);
    ExpectDone(dir, pass);
  }

  void ExpectFailure(const TempDir& dir, const RunResult& result, std::size_t pass, const IoStatus& why) const {
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->pass, steps_[pass].kind);
    EXPECT_EQ(result.failure->path, dir / "x.pas");
    EXPECT_EQ(result.failure->reason, why.reason);
    EXPECT_EQ(result.failure->osError, why.osError);
    EXPECT_TRUE(result.failure->unchanged);
  }

  // As ExpectDone, but for what a pass could not take back: its work file, or
  // a backup name that holds what the pass read.
  void ExpectDoneWithLeftovers(const TempDir& dir, std::size_t done) const {
    EXPECT_EQ(ReadBytes(dir / "x.pas"), contents_[done]);
    for (const std::string& name : dir.Names()) {
      if (name == "x.pas" || name.starts_with(".kelbrin-")) continue;
      const auto step = std::find_if(steps_.begin(), steps_.end(), [&](const PassStep& s) { return name.starts_with(s.prefix); });
      ASSERT_NE(step, steps_.end()) << name;
      const auto pass = static_cast<std::size_t>(step - steps_.begin());
      EXPECT_LE(pass, done) << name;
      EXPECT_EQ(ReadBytes(dir / name), contents_[pass]) << name;
    }
  }

  std::vector<PassStep> steps_;
  std::vector<std::string> contents_;  // before the first pass, then after each
  std::vector<std::string> calls_;     // of a run without faults
};

TEST_P(FaultSweepTest, AFailingCallLeavesTheFileAsItWasAndSaysWhy) {
  for (std::size_t n = 1; n <= calls_.size(); ++n) {
    SCOPED_TRACE("call " + std::to_string(n) + ", " + calls_[n - 1]);
    TempDir dir;
    const RunResult result = Run(dir, {{"", static_cast<int>(n), Effect::Fail, kInjected}});
    if (IsHarmless(n)) {
      EXPECT_FALSE(result.failure);
      ExpectDone(dir, steps_.size());
    } else {
      ExpectFailedIn(dir, result, PassOfCall(n), kInjected);
    }
  }
}

TEST_P(FaultSweepTest, ShortReadsAndWritesStillGiveTheWholeResult) {
  for (std::size_t n = 1; n <= calls_.size(); ++n) {
    if (calls_[n - 1] != "Read" && calls_[n - 1] != "Write") continue;
    SCOPED_TRACE("call " + std::to_string(n) + ", " + calls_[n - 1]);
    TempDir dir;
    EXPECT_FALSE(Run(dir, {{"", static_cast<int>(n), Effect::Short}}).failure);
    ExpectDone(dir, steps_.size());
  }
}

// A read that delivers nothing ends the input early; a write that stores
// nothing means the disk is full. Only the read at the real end is harmless.
TEST_P(FaultSweepTest, ReadsAndWritesThatMoveNothingAreCaught) {
  for (std::size_t n = 1; n <= calls_.size(); ++n) {
    const std::string& call = calls_[n - 1];
    if (call != "Read" && call != "Write") continue;
    SCOPED_TRACE("call " + std::to_string(n) + ", " + call);
    TempDir dir;
    const RunResult result = Run(dir, {{"", static_cast<int>(n), Effect::Nothing}});
    if (call == "Read" && IsLastReadOfItsPass(n)) {
      EXPECT_FALSE(result.failure);
      ExpectDone(dir, steps_.size());
    } else {
      const IoStatus why{call == "Read" ? FailureReason::InputChanged : FailureReason::DiskFull, 0};
      ExpectFailedIn(dir, result, PassOfCall(n), why);
    }
  }
}

// When taking back what the pass made fails too, the file still holds what
// it held before the pass, and the result names the first fault; what is
// left over is the pass's work file or a backup name that holds the same.
TEST_P(FaultSweepTest, AFailingCleanUpStillLeavesTheFileAsItWas) {
  for (std::size_t n = 1; n <= calls_.size(); ++n) {
    if (IsHarmless(n)) continue;
    TempDir probe;
    const std::size_t callsWithFault = Run(probe, {{"", static_cast<int>(n), Effect::Fail, kInjected}}).calls.size();
    for (std::size_t m = n + 1; m <= callsWithFault; ++m) {
      SCOPED_TRACE("call " + std::to_string(n) + " (" + calls_[n - 1] + ") and then call " + std::to_string(m));
      TempDir dir;
      const RunResult result = Run(dir, {{"", static_cast<int>(n), Effect::Fail, kInjected},
                                         {"", static_cast<int>(m), Effect::Fail, kInjectedInRecovery}});
      const std::size_t pass = PassOfCall(n);
      ExpectFailure(dir, result, pass, kInjected);
      ExpectDoneWithLeftovers(dir, pass);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, FaultSweepTest, testing::ValuesIn(kCases));

}  // namespace
}  // namespace kelbrin::test
