#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ExitStatus.h"
#include "PassProgress.h"
#include "platform/FileSystem.h"

namespace kelbrin::cli {

// What became of a FILE tidied in place, and what to say about it (nothing
// when empty).
struct TidiedFile {
  Outcome outcome = Outcome::Done;
  std::string line;
};

// Many files in place on two threads: while the caller tidies a file, a
// second thread tidies the next one not yet taken, and so on, the files
// being taken in their order. Small files cost the system's work on the
// folder and on new pages more than the rule's, and the two threads share
// it. Where two names lead to one file (the same name twice, a second link
// to it), every file is the caller's, so that each turn finds the file as
// the turn before left it.
class InPlaceAhead {
 public:
  // Tidies file `n`, telling `progress` how far it has read.
  using TidyFile = std::function<TidiedFile(std::size_t n, PassProgress& progress)>;

  // The caller's file is shown on `progress`. With `start` false, or where
  // a second thread cannot run, every file is the caller's.
  InPlaceAhead(const std::vector<std::string>& files, TidyFile tidy, PassProgress& progress,
               FileSystem& fileSystem, bool start);
  ~InPlaceAhead();
  InPlaceAhead(const InPlaceAhead&) = delete;
  InPlaceAhead& operator=(const InPlaceAhead&) = delete;

  // Called for files in order: file n's result, once one of the threads
  // has tidied it. The caller tidies the next files meanwhile.
  TidiedFile Take(std::size_t n);
  // How many files have been taken, from the first on.
  std::size_t Taken();

 private:
  // Tidies the next file not yet taken; `lock` is held on entry and on return.
  void TidyNext(std::unique_lock<std::mutex>& lock, PassProgress& progress);
  static bool DifferentFiles(const std::vector<std::string>& files, FileSystem& fileSystem);
  void Run();

  const std::vector<std::string>& files_;
  TidyFile tidy_;
  PassProgress& progress_;
  NoProgress unseen_;  // for the files not shown
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;  // files before it have been taken
  std::vector<std::optional<TidiedFile>> results_;
  std::thread thread_;
};

}  // namespace kelbrin::cli
