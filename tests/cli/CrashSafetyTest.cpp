// kelbrin-cli killed at random moments while it rewrites a large file in
// place: whenever it dies, the file's content as it was before the run is
// whole under the file's own name or under a backup name, and no run ever
// replaces or changes an earlier backup.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "CommentRule.h"
#include "RuleHarness.h"
#include "TestFiles.h"

extern char** environ;

namespace kelbrin::test {
namespace {

constexpr int kRuns = 40;

// Large enough that a run takes a while, with work for both passes.
std::string Original(int run) {
  std::string text = "// run " + std::to_string(run) + "\r\n";
  while (text.size() < 4 * 1024 * 1024) text += "    if (a / b) x();    // why\r\n";
  return text;
}

// Starts kelbrin-cli on the file, its output thrown away.
pid_t StartCli(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string program = KELBRIN_CLI, options = "-ct", file = path;
  char* arguments[] = {program.data(), options.data(), file.data(), nullptr};
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

// What tells a file apart from one that replaced it or was written again.
struct Identity {
  ino_t inode;
  off_t size;
  std::int64_t modified;

  bool operator==(const Identity&) const = default;
};

Identity IdentityOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {info.st_ino, info.st_size, info.st_mtim.tv_sec * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool IsBackup(const std::string& name) { return name.starts_with("ComOld_") || name.starts_with("TabOld_"); }

class CrashSafetyTest : public testing::Test {
 protected:
  // Checks every backup made so far and learns the new ones; true when a new
  // comment-pass backup holds `original`.
  bool CheckBackups(const std::string& original) {
    bool keptAside = false;
    for (const std::string& name : dir.Names()) {
      if (!IsBackup(name)) continue;
      const auto known = backups_.find(name);
      if (known != backups_.end()) {
        EXPECT_EQ(IdentityOf(dir / name), known->second) << name << " was replaced or changed";
        continue;
      }
      const bool commentBackup = name.starts_with("ComOld_");
      EXPECT_EQ(ReadBytes(dir / name), commentBackup ? original : ApplyRule(CommentRule(), original))
          << name << " is not whole";
      keptAside = keptAside || commentBackup;
      backups_[name] = IdentityOf(dir / name);
    }
    return keptAside;
  }

  TempDir dir;
  std::map<std::string, Identity> backups_;
};

TEST_F(CrashSafetyTest, KilledAtAnyMomentTheOriginalIsWholeAndNoBackupIsReplaced) {
  const std::string path = dir / "x.pas";

  // How long an undisturbed run takes, so that the kills fall within one.
  WriteBytes(path, Original(0));
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(WaitFor(StartCli(path)), 0);
  const auto runTime = std::chrono::steady_clock::now() - started;
  CheckBackups(Original(0));

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(runTime * 6 / 5).count();
  std::uniform_int_distribution<std::int64_t> moment(0, longest);

  for (int run = 1; run <= kRuns; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const std::string original = Original(run);
    WriteBytes(path, original);
    const pid_t pid = StartCli(path);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(pid, SIGKILL);
    WaitFor(pid);

    const bool keptAside = CheckBackups(original);
    EXPECT_TRUE(keptAside || ReadBytes(path) == original) << "the original is neither under its name nor aside";
  }

  // A run to its end after all that still adds backups of its own.
  const std::string last = Original(kRuns + 1);
  WriteBytes(path, last);
  ASSERT_EQ(WaitFor(StartCli(path)), 0);
  EXPECT_TRUE(CheckBackups(last));
}

}  // namespace
}  // namespace kelbrin::test
