#include "CheckAhead.h"

#include <system_error>

namespace kelbrin::cli {

CheckAhead::CheckAhead(const std::vector<std::string>& files,
                       std::function<const ByteRule*(const std::string&)> ruleFor, FileSystem& fileSystem, bool start)
    : files_(files), ruleFor_(std::move(ruleFor)), probe_(fileSystem), back_(files.size()),
      results_(files.size()) {
  if (!start || std::thread::hardware_concurrency() < 2) return;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // The caller checks every file itself.
  }
}

CheckAhead::~CheckAhead() {
  {
    std::lock_guard lock(mutex_);
    front_ = back_;  // the caller may have stopped early: nothing more to take
  }
  if (thread_.joinable()) thread_.join();
}

std::optional<FileResult> CheckAhead::Take(std::size_t n) {
  std::unique_lock lock(mutex_);
  if (n < back_) {
    front_ = n + 1;
    return std::nullopt;
  }
  checked_.wait(lock, [&] { return results_[n].has_value(); });
  return results_[n];
}

void CheckAhead::Run() {
  for (;;) {
    std::unique_lock lock(mutex_);
    if (back_ <= front_) return;
    const std::size_t n = --back_;
    lock.unlock();
    const ByteRule* rule = ruleFor_(files_[n]);
    const FileResult result = rule ? probe_.Probe(files_[n], *rule) : FileResult{Outcome::Done, {}};
    lock.lock();
    results_[n] = result;
    checked_.notify_all();
  }
}

}  // namespace kelbrin::cli
