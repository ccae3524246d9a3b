#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ByteRule.h"
#include "ChangeProbe.h"
#include "ExitStatus.h"
#include "platform/FileSystem.h"

namespace kelbrin::cli {

// --check over many files on two threads: a second thread checks them from
// the last one back while the caller goes through them from the first one
// on, showing each in turn, until the two meet. Small files cost the work of
// opening them as much as the work of the rule, and the two threads share
// both.
class CheckAhead {
 public:
  // Each file is checked with the rule `ruleFor` gives; a file it gives
  // none for is left alone. With `start` false, or where a second thread
  // cannot run, every file is the caller's.
  CheckAhead(const std::vector<std::string>& files, std::function<const ByteRule*(const std::string&)> ruleFor,
             FileSystem& fileSystem, bool start);
  ~CheckAhead();
  CheckAhead(const CheckAhead&) = delete;
  CheckAhead& operator=(const CheckAhead&) = delete;

  // Called for files in order: file n's result when the second thread has
  // taken it, once it is there; nothing when file n is the caller's to check.
  std::optional<FileResult> Take(std::size_t n);

 private:
  void Run();

  const std::vector<std::string>& files_;
  std::function<const ByteRule*(const std::string&)> ruleFor_;
  ChangeProbe probe_;
  std::mutex mutex_;
  std::condition_variable checked_;
  std::size_t front_ = 0;  // files before it are the caller's
  std::size_t back_;       // files from it on are the second thread's
  std::vector<std::optional<FileResult>> results_;
  std::thread thread_;
};

}  // namespace kelbrin::cli
