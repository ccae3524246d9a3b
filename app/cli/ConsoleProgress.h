#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "PassProgress.h"

namespace kelbrin::cli {

// One line on a terminal that says how far the run is: with more than a few
// files, how many are done and which one is being tidied; for a file large
// enough to wait for, the percentage read. Silent when the stream is not a
// terminal, so logs and pipes stay clean. Messages go through it, so that
// they do not land on the line.
class ConsoleProgress final : public PassProgress {
 public:
  static constexpr std::int64_t kShowFrom = 16 * 1024 * 1024;
  // More files than this show the files line.
  static constexpr std::size_t kFewFiles = 4;
  // The files line is drawn again at most this often: a terminal takes a
  // while to draw, and small files go by faster.
  static constexpr std::chrono::milliseconds kRedrawAfter{100};
  // Wider lines show the bare name only.
  static constexpr std::size_t kWidth = 79;

  ConsoleProgress(std::FILE* stream, bool isTerminal, std::size_t files = 1)
      : stream_(stream), isTerminal_(isTerminal), files_(files), showsFiles_(isTerminal && files > kFewFiles) {}

  // The file now being worked on, the `index`-th (from 0) of all.
  void StartFile(std::size_t index, std::string path);
  // Prints "kelbrin-cli: TEXT" on a line of its own.
  void Say(const std::string& text);
  // The run is over: the line goes.
  void Finish() { Clear(); }

  void SetMin(std::int64_t) override {}
  void SetMax(std::int64_t value) override;
  void SetPosition(std::int64_t value) override;

 private:
  std::string Line() const;
  void Draw();
  void Clear();

  std::FILE* stream_;
  bool isTerminal_;
  std::size_t files_;
  bool showsFiles_;
  std::size_t done_ = 0;
  std::string path_;
  std::int64_t max_ = 0;
  bool showsPercent_ = false;
  int percent_ = -1;
  std::size_t width_ = 0;  // of what the line shows now
  std::chrono::steady_clock::time_point drawn_{};
};

// Whether a standard stream is a terminal.
bool IsTerminal(std::FILE* stream);

}  // namespace kelbrin::cli
