#include "ConsoleProgress.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kelbrin::cli {

void ConsoleProgress::SetMax(std::int64_t value) {
  max_ = value;
  showing_ = isTerminal_ && value > kShowFrom;
  percent_ = -1;
}

// A pass ends by setting the position back to 0.
void ConsoleProgress::SetPosition(std::int64_t value) {
  if (!showing_) return;
  if (value == 0) return Clear();
  const int percent = static_cast<int>(value * 100 / max_);
  if (percent == percent_) return;
  percent_ = percent;
  const std::string line = "kelbrin-cli: " + path_ + ": " + std::to_string(percent) + "%";
  std::fprintf(stream_, "\r%s", line.c_str());
  std::fflush(stream_);
  width_ = line.size();
}

// Blanks rather than an escape sequence, which not every console knows.
void ConsoleProgress::Clear() {
  std::fprintf(stream_, "\r%s\r", std::string(width_, ' ').c_str());
  std::fflush(stream_);
  width_ = 0;
  percent_ = -1;
}

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace kelbrin::cli
