#pragma once

#include "Failure.h"

namespace kelbrin::cli {

// What became of one FILE.
enum class Outcome {
  Done,          // tidied, or shown, or found to need nothing
  WouldChange,   // shown without touching it, and tidying would change it
  Failed,        // it could not be read or tidied
  OutputFailed,  // standard output takes nothing more: nothing else can be shown
};

struct FileResult {
  Outcome outcome;
  IoStatus why;  // when it failed
};

// The program's exit status from the outcomes of all FILEs: 0 when all is
// done, 1 when a FILE failed; with --check, 1 when a FILE would change and 2
// when one could not be read, as diff and cmp have it.
class ExitStatus {
 public:
  static constexpr int kDone = 0;
  static constexpr int kFailed = 1;
  static constexpr int kUsageFailed = 2;

  explicit ExitStatus(bool check) : check_(check) {}

  void Add(Outcome outcome) {
    failed_ = failed_ || outcome == Outcome::Failed || outcome == Outcome::OutputFailed;
    wouldChange_ = wouldChange_ || outcome == Outcome::WouldChange;
    stopped_ = stopped_ || outcome == Outcome::OutputFailed;
  }
  // Whether nothing more can be shown on standard output.
  bool Stopped() const { return stopped_; }

  int Code() const {
    if (!check_) return failed_ ? kFailed : kDone;
    if (failed_) return kUsageFailed;
    return wouldChange_ ? kFailed : kDone;
  }

 private:
  bool check_;
  bool failed_ = false;
  bool wouldChange_ = false;
  bool stopped_ = false;
};

}  // namespace kelbrin::cli
