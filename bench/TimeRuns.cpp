// Runs two commands in turn, RUNS times each, with no shell between, and
// prints the median wall time of a run of each, in seconds:
//   time-runs RUNS COMMAND_A... -- COMMAND_B...
// In an argument, "{}" stands for the run's number (1 to RUNS), so that every
// run can take a fresh file; "<FILE" and ">FILE" redirect its standard input
// and output. Taking the two in turn spreads a busy moment over both.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Command = std::vector<std::string>;

// One run of `command`, its "{}" being `run`; negative when it did not run to
// its end.
double TimeRun(const Command& command, int run) {
  std::vector<std::string> words;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (std::string word : command) {
    for (std::size_t at; (at = word.find("{}")) != std::string::npos;) word.replace(at, 2, std::to_string(run));
    if (word.starts_with('<')) {
      posix_spawn_file_actions_addopen(&actions, 0, word.c_str() + 1, O_RDONLY, 0);
    } else if (word.starts_with('>')) {
      posix_spawn_file_actions_addopen(&actions, 1, word.c_str() + 1, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    } else {
      words.push_back(word);
    }
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = 0;
  const bool ran = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                   waitpid(pid, &status, 0) == pid && WIFEXITED(status);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  posix_spawn_file_actions_destroy(&actions);
  return ran ? took.count() : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto split = std::find(arguments.begin(), arguments.end(), "--");
  const int runs = arguments.empty() ? 0 : std::atoi(arguments[0].c_str());
  if (runs < 1 || split == arguments.end() || split - arguments.begin() < 2 || split + 1 == arguments.end()) {
    std::fputs("usage: time-runs RUNS COMMAND_A... -- COMMAND_B...\n", stderr);
    return 2;
  }
  const Command commands[] = {Command(arguments.begin() + 1, split), Command(split + 1, arguments.end())};
  std::vector<double> times[2];
  for (int run = 1; run <= runs; ++run) {
    for (int c = 0; c < 2; ++c) {
      const double took = TimeRun(commands[c], run);
      if (took < 0) {
        std::fprintf(stderr, "time-runs: %s failed in run %d\n", commands[c][0].c_str(), run);
        return 1;
      }
      times[c].push_back(took);
    }
  }
  std::printf("%.6f %.6f\n", Median(times[0]), Median(times[1]));
  return 0;
}
