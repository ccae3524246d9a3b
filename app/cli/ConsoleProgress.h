#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "PassProgress.h"

namespace kelbrin::cli {

// A one-line percentage on a terminal for files large enough to wait for;
// silent when the stream is not a terminal, so logs and pipes stay clean.
class ConsoleProgress final : public PassProgress {
 public:
  static constexpr std::int64_t kShowFrom = 16 * 1024 * 1024;

  ConsoleProgress(std::FILE* stream, bool isTerminal) : stream_(stream), isTerminal_(isTerminal) {}

  void SetFile(std::string path) { path_ = std::move(path); }

  void SetMin(std::int64_t) override {}
  void SetMax(std::int64_t value) override;
  void SetPosition(std::int64_t value) override;

 private:
  void Clear();

  std::FILE* stream_;
  bool isTerminal_;
  std::string path_;
  std::int64_t max_ = 0;
  bool showing_ = false;
  int percent_ = -1;
  std::size_t width_ = 0;
};

// Whether standard error is a terminal.
bool StandardErrorIsTerminal();

}  // namespace kelbrin::cli
