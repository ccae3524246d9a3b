// kelbrin-cli stopped at random moments while it rewrites a large file in
// place, and two runs on one file at once: the file's name always holds a
// whole file (the original, or the complete result of a pass), the backups
// hold whole files, and no run ever replaces or changes an earlier backup.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <thread>

#include "CommentRule.h"
#include "RuleChain.h"
#include "RuleHarness.h"
#include "TestFiles.h"

extern char** environ;

namespace kelbrin::test {
namespace {

constexpr int kRuns = 40;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Large enough that a run takes a while, with work for both passes.
std::string Original(int run, std::size_t size = 4 * 1024 * 1024) {
  std::string text = "// run " + std::to_string(run) + "\r\n";
  while (text.size() < size) text += "    if (a / b) x();    // why\r\n";
  return text;
}

// Starts kelbrin-cli -ct on the file, its output thrown away and its
// messages into `messages`.
pid_t StartCli(const std::string& path, const std::string& messages = "/dev/null") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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

// A new file in the name's place, as an editor saves: a run killed just after
// it gave the original its backup name leaves both names to one file, which
// writing the name in place would change too.
void SaveAs(const std::string& path, const std::string& bytes) {
  WriteBytes(path + "~", bytes);
  ASSERT_EQ(std::rename((path + "~").c_str(), path.c_str()), 0);
}

bool IsBackup(const std::string& name) { return name.starts_with("ComOld_") || name.starts_with("TabOld_"); }
bool IsWorkFile(const std::string& name) { return name.starts_with(".kelbrin-") && name.ends_with(".tmp"); }

std::string WithoutComments(const std::string& text) { return ApplyRule(CommentRule(), text); }
std::string Tidied(const std::string& text) { return ApplyRule(CommentThenTabRule(false), text); }

class CrashSafetyTest : public testing::Test {
 protected:
  // Checks every backup made so far and learns the new ones, and that the
  // file's name holds the original or the complete result of a pass; true
  // when the file's name holds the original.
  bool CheckFolder(const std::string& original) {
    for (const std::string& name : dir.Names()) {
      if (name == "x.pas" || name == "messages" || IsWorkFile(name)) continue;
      EXPECT_TRUE(IsBackup(name)) << name << " is neither ours nor the file";
      const auto known = backups_.find(name);
      if (known != backups_.end()) {
        EXPECT_EQ(IdentityOf(dir / name), known->second) << name << " was replaced or changed";
        continue;
      }
      EXPECT_EQ(ReadBytes(dir / name), name.starts_with("ComOld_") ? original : WithoutComments(original))
          << name << " is not whole";
      backups_[name] = IdentityOf(dir / name);
    }
    const auto now = ReadBytes(path);
    EXPECT_TRUE(now == original || now == WithoutComments(original) || now == Tidied(original))
        << "the file's name holds a part of a result";
    return now == original;
  }

  // How long an undisturbed run takes, so that stops fall within one.
  std::chrono::microseconds TimeOneRun() {
    WriteBytes(path, Original(0));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitFor(StartCli(path)), 0);
    const auto runTime = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(ReadBytes(path), Tidied(Original(0)));
    EXPECT_FALSE(CheckFolder(Original(0)));
    return std::chrono::duration_cast<std::chrono::microseconds>(runTime * 6 / 5);
  }

  TempDir dir;
  const std::string path = dir / "x.pas";
  std::map<std::string, Identity> backups_;
};

TEST_F(CrashSafetyTest, KilledAtAnyMomentTheNameHoldsAWholeFileAndNoBackupIsReplaced) {
  const auto longest = TimeOneRun();
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::int64_t> moment(0, longest.count());

  for (int run = 1; run <= kRuns; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const std::string original = Original(run);
    SaveAs(path, original);
    const pid_t pid = StartCli(path);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(pid, SIGKILL);
    WaitFor(pid);
    CheckFolder(original);
  }

  // A run to its end after all that still adds backups of its own.
  const std::string last = Original(kRuns + 1);
  SaveAs(path, last);
  ASSERT_EQ(WaitFor(StartCli(path)), 0);
  EXPECT_FALSE(CheckFolder(last));
}

// Ctrl-C, kill and a closed terminal: the run stops, takes its work file
// back and says so, and its exit status tells the signal.
TEST_F(CrashSafetyTest, StoppedByASignalItLeavesNoWorkFileAndSaysSo) {
  const auto longest = TimeOneRun();
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::int64_t> moment(0, longest.count());
  const std::string messages = dir / "messages";

  int stopped = 0;
  for (int run = 1; run <= kRuns; ++run) {
    const int signalNumber = kStopSignals[run % std::size(kStopSignals)];
    SCOPED_TRACE("run " + std::to_string(run) + ", signal " + std::to_string(signalNumber));
    const std::string original = Original(run);
    SaveAs(path, original);
    const pid_t pid = StartCli(path, messages);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    kill(pid, signalNumber);
    const int status = WaitFor(pid);
    const bool holdsOriginal = CheckFolder(original);
    for (const std::string& name : dir.Names()) EXPECT_FALSE(IsWorkFile(name)) << name;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      EXPECT_EQ(ReadBytes(path), Tidied(original));
    } else if (WIFEXITED(status)) {
      // Stopped in the first pass or in the second, after the first had
      // published its result, or only once the second had published its own.
      EXPECT_EQ(WEXITSTATUS(status), 128 + signalNumber);
      const bool done = ReadBytes(path) == Tidied(original);
      EXPECT_EQ(ReadBytes(messages), done ? "kelbrin-cli: interrupted\n"
                                          : "kelbrin-cli: " + path + ": interrupted; file unchanged\n");
      stopped += done ? 0 : 1;
    } else {
      // Before it began on the file or after it was done with it, the signal
      // ended it as usual.
      EXPECT_EQ(WTERMSIG(status), signalNumber);
      EXPECT_TRUE(holdsOriginal || ReadBytes(path) == Tidied(original));
    }
  }
  EXPECT_GT(stopped, 0) << "no signal fell within a run";
}

// Two runs on one file at once, as a save hook and a manual run: the file
// ends up completely tidied, and a run that finds the file changed under it
// says so rather than report success.
TEST_F(CrashSafetyTest, TwoRunsAtOnceEndWithTheWholeResult) {
  constexpr int kRounds = 100;
  const std::string original = Original(0, 256 * 1024);
  int refused = 0;
  for (int round = 1; round <= kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    WriteBytes(path, original);
    const std::string messages[] = {dir / "one", dir / "two"};
    const pid_t first = StartCli(path, messages[0]);
    const pid_t second = StartCli(path, messages[1]);
    const int statuses[] = {WaitFor(first), WaitFor(second)};
    for (int i = 0; i < 2; ++i) {
      ASSERT_TRUE(WIFEXITED(statuses[i]));
      const int code = WEXITSTATUS(statuses[i]);
      ASSERT_TRUE(code == 0 || code == 1) << code;
      if (code == 1) {
        const auto said = ReadBytes(messages[i]);
        const std::string about = "kelbrin-cli: " + path + ": ";
        EXPECT_TRUE(said == about + "in use by another program; file unchanged\n" ||
                    said == about + "file changed while being tidied; file unchanged\n")
            << *said;
        ++refused;
      }
    }
    EXPECT_EQ(ReadBytes(path), Tidied(original));
    for (const std::string& name : dir.Names()) {
      EXPECT_FALSE(IsWorkFile(name)) << name;
      if (IsBackup(name)) std::remove((dir / name).c_str());
    }
  }
  RecordProperty("refused", refused);
}

}  // namespace
}  // namespace kelbrin::test
