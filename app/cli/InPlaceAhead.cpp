#include "InPlaceAhead.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <utility>

#include "StopRequest.h"

namespace kelbrin::cli {

InPlaceAhead::InPlaceAhead(const std::vector<std::string>& files, TidyFile tidy, PassProgress& progress,
                           FileSystem& fileSystem, bool start)
    : files_(files), tidy_(std::move(tidy)), progress_(progress), results_(files.size()) {
  if (!start || std::thread::hardware_concurrency() < 2 || !DifferentFiles(files, fileSystem)) return;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // The caller tidies every file itself.
  }
}

InPlaceAhead::~InPlaceAhead() {
  {
    std::lock_guard lock(mutex_);
    next_ = files_.size();  // the caller may have stopped early: nothing more to take
  }
  if (thread_.joinable()) thread_.join();
}

TidiedFile InPlaceAhead::Take(std::size_t n) {
  std::unique_lock lock(mutex_);
  while (!results_[n]) {
    // After a stop only file n itself is taken, and its pass stops at once.
    if (next_ == n || (next_ < files_.size() && !StopRequested())) {
      TidyNext(lock, next_ == n ? progress_ : unseen_);
    } else {
      changed_.wait(lock);
    }
  }
  return std::move(*results_[n]);
}

std::size_t InPlaceAhead::Taken() {
  std::lock_guard lock(mutex_);
  return next_;
}

void InPlaceAhead::TidyNext(std::unique_lock<std::mutex>& lock, PassProgress& progress) {
  const std::size_t n = next_++;
  lock.unlock();
  TidiedFile result = tidy_(n, progress);
  lock.lock();
  results_[n] = std::move(result);
  changed_.notify_all();
}

// Judged before any is tidied, while two names of one file still lead to the
// same file: a turn changes what its name leads to.
bool InPlaceAhead::DifferentFiles(const std::vector<std::string>& files, FileSystem& fileSystem) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> found;
  found.reserve(files.size());
  for (const std::string& file : files) {
    FileIdentity identity;
    if (!fileSystem.IdentifyPath(file, identity)) continue;
    // Anything but a plain file may be a link, which leads to the file the
    // pass tidies.
    std::string filePath;
    if (!identity.regular && !(fileSystem.ResolveFile(file, filePath) && fileSystem.IdentifyPath(filePath, identity)))
      continue;
    found.emplace_back(identity.device, identity.file);
  }
  std::sort(found.begin(), found.end());
  return std::adjacent_find(found.begin(), found.end()) == found.end();
}

void InPlaceAhead::Run() {
  std::unique_lock lock(mutex_);
  while (next_ < files_.size() && !StopRequested()) TidyNext(lock, unseen_);
}

}  // namespace kelbrin::cli
