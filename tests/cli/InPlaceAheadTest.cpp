// Many files in place on two threads: whichever thread tidies a file, the
// caller gets its result in order; where two names lead to one file, every
// file is the caller's, so that no turn finds another at work on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>

#include "InPlaceAhead.h"
#include "TestFiles.h"

namespace kelbrin::cli {
namespace {

using test::TempDir;

// f0.pas, f1.pas, ...; every seventh leads to no file.
std::vector<std::string> MakeFiles(const TempDir& dir, std::size_t count) {
  std::vector<std::string> files;
  for (std::size_t n = 0; n < count; ++n) {
    files.push_back(dir / ("f" + std::to_string(n) + ".pas"));
    if (n % 7 != 0) test::WriteBytes(files.back(), "x\r\n");
  }
  return files;
}

// Which thread tidied each file, and how often; the first file takes long
// enough for a second thread, where there is one, to take others.
struct Recorder {
  std::mutex mutex;
  std::vector<std::thread::id> threads;
  std::vector<int> calls;

  explicit Recorder(std::size_t count) : calls(count) {}

  TidiedFile Tidy(std::size_t n) {
    {
      std::lock_guard lock(mutex);
      ++calls[n];
      threads.push_back(std::this_thread::get_id());
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (n == 0 && std::chrono::steady_clock::now() < until && !OnTwoThreads()) std::this_thread::yield();
    return {n % 2 ? Outcome::Failed : Outcome::Done, std::to_string(n)};
  }

  bool OnTwoThreads() {
    std::lock_guard lock(mutex);
    return std::any_of(threads.begin(), threads.end(), [&](std::thread::id id) { return id != threads.front(); });
  }
};

// Takes the first `taken` files' results (all by default), then ends.
void TakeAll(const std::vector<std::string>& files, Recorder& recorder, bool start, std::size_t taken = SIZE_MAX) {
  NoProgress progress;
  InPlaceAhead ahead(
      files, [&](std::size_t n, PassProgress&) { return recorder.Tidy(n); }, progress, PlatformFileSystem(), start);
  for (std::size_t n = 0; n < std::min(taken, files.size()); ++n) {
    const TidiedFile tidied = ahead.Take(n);
    EXPECT_EQ(tidied.line, std::to_string(n));
    EXPECT_EQ(tidied.outcome, n % 2 ? Outcome::Failed : Outcome::Done);
  }
}

TEST(InPlaceAhead, EveryFileOnceAndItsResultInOrder) {
  TempDir dir;
  const std::vector<std::string> files = MakeFiles(dir, 300);
  for (const bool start : {false, true}) {
    Recorder recorder(files.size());
    TakeAll(files, recorder, start);
    EXPECT_EQ(std::count(recorder.calls.begin(), recorder.calls.end(), 1), files.size());
    if (std::thread::hardware_concurrency() >= 2) {
      EXPECT_EQ(recorder.OnTwoThreads(), start);
    }
  }
}

TEST(InPlaceAhead, TwoNamesOfOneFileKeepEveryFileOnTheCallersThread) {
  TempDir dir;
  std::vector<std::string> files = MakeFiles(dir, 100);
  std::vector<std::pair<const char*, std::string>> secondNames = {{"the same name", files[1]}};
#ifndef _WIN32
  std::filesystem::create_symlink("f1.pas", dir / "link.pas");
  secondNames.emplace_back("a link", dir / "link.pas");
#endif
  for (const auto& [what, name] : secondNames) {
    files[50] = name;
    Recorder recorder(files.size());
    TakeAll(files, recorder, true);
    EXPECT_FALSE(recorder.OnTwoThreads()) << what;
  }
}

TEST(InPlaceAhead, ACallerThatStopsEarlyEndsTheOtherThread) {
  TempDir dir;
  const std::vector<std::string> files = MakeFiles(dir, 200);
  Recorder recorder(files.size());
  TakeAll(files, recorder, true, 1);
  EXPECT_LE(*std::max_element(recorder.calls.begin(), recorder.calls.end()), 1);
}

}  // namespace
}  // namespace kelbrin::cli
