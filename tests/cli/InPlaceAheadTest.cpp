// Many files in place on two threads: whichever thread tidies a file, the
// caller gets its result in order; where two names lead to one file, the
// files are tidied in turn, so that none finds another turn at work on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "InPlaceAhead.h"
#include "TestFiles.h"

namespace kelbrin::cli {
namespace {

using test::TempDir;

// Every seventh name leads to no file; with `named` > 0, every named-th is
// the same file.
std::vector<std::string> MakeFiles(const TempDir& dir, std::size_t count, std::size_t named = 0) {
  std::vector<std::string> files;
  test::WriteBytes(dir / "same.pas", "x\r\n");
  for (std::size_t n = 0; n < count; ++n) {
    std::string path = named && n % named == 0 ? dir / "same.pas" : dir / ("f" + std::to_string(n) + ".pas");
    if (path != dir / "same.pas" && n % 7 != 0) test::WriteBytes(path, "x\r\n");
    files.push_back(std::move(path));
  }
  return files;
}

struct Recorder {
  std::mutex mutex;
  std::vector<std::size_t> order;  // of the calls
  std::vector<std::thread::id> threads;
  std::vector<int> calls;

  explicit Recorder(std::size_t count) : calls(count) {}

  Tidied Tidy(std::size_t n) {
    {
      std::lock_guard lock(mutex);
      ++calls[n];
      order.push_back(n);
      threads.push_back(std::this_thread::get_id());
    }
    if (n == 0) AWhile();
    return {n % 2 ? Outcome::Failed : Outcome::Done, std::to_string(n)};
  }

  // Long enough for a second thread, where there is one, to take files.
  void AWhile() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (std::chrono::steady_clock::now() < until && !OnTwoThreads()) std::this_thread::yield();
  }

  bool OnTwoThreads() {
    std::lock_guard lock(mutex);
    return std::any_of(threads.begin(), threads.end(), [&](std::thread::id id) { return id != threads.front(); });
  }
};

void TakeAll(const std::vector<std::string>& files, Recorder& recorder, bool start) {
  NoProgress progress;
  InPlaceAhead ahead(
      files, [&](std::size_t n, PassProgress&) { return recorder.Tidy(n); }, progress, PlatformFileSystem(), start);
  for (std::size_t n = 0; n < files.size(); ++n) {
    const Tidied tidied = ahead.Take(n);
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

TEST(InPlaceAhead, NamesOfOneFileAreTidiedInTurnOnTheCallersThread) {
  TempDir dir;
  for (const std::size_t named : {3, 150}) {
    const std::vector<std::string> files = MakeFiles(dir, 300, named);
    Recorder recorder(files.size());
    TakeAll(files, recorder, true);
    EXPECT_TRUE(std::is_sorted(recorder.order.begin(), recorder.order.end())) << named;
    EXPECT_EQ(std::count(recorder.threads.begin(), recorder.threads.end(), std::this_thread::get_id()),
              files.size());
  }
}

#ifndef _WIN32
TEST(InPlaceAhead, ALinkToAFileNamedBeforeKeepsToTheCallersThread) {
  TempDir dir;
  std::vector<std::string> files = MakeFiles(dir, 100);
  files[0] = dir / "same.pas";
  std::filesystem::create_symlink("same.pas", dir / "link.pas");
  files[50] = dir / "link.pas";
  Recorder recorder(files.size());
  TakeAll(files, recorder, true);
  EXPECT_EQ(std::count(recorder.threads.begin(), recorder.threads.end(), std::this_thread::get_id()), files.size());
}
#endif

TEST(InPlaceAhead, ACallerThatStopsEarlyEndsTheOtherThread) {
  TempDir dir;
  const std::vector<std::string> files = MakeFiles(dir, 200);
  Recorder recorder(files.size());
  NoProgress progress;
  {
    InPlaceAhead ahead(
        files, [&](std::size_t n, PassProgress&) { return recorder.Tidy(n); }, progress, PlatformFileSystem(),
        true);
    EXPECT_EQ(ahead.Take(0).line, "0");
  }
  EXPECT_LE(*std::max_element(recorder.calls.begin(), recorder.calls.end()), 1);
}

}  // namespace
}  // namespace kelbrin::cli
