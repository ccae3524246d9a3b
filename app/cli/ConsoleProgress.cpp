#include "ConsoleProgress.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "SplitTarget.h"

namespace kelbrin::cli {

void ConsoleProgress::StartFile(std::size_t index, std::string path) {
  done_ = index;
  path_ = std::move(path);
  if (showsFiles_ && std::chrono::steady_clock::now() - drawn_ >= kRedrawAfter) Draw();
}

void ConsoleProgress::Say(const std::string& text) {
  Clear();
  std::fprintf(stream_, "kelbrin-cli: %s\n", text.c_str());
}

void ConsoleProgress::SetMax(std::int64_t value) {
  max_ = value;
  showsPercent_ = isTerminal_ && value > kShowFrom;
  percent_ = -1;
}

// A pass ends by setting the position back to 0.
void ConsoleProgress::SetPosition(std::int64_t value) {
  if (!showsPercent_) return;
  if (value == 0) {
    showsPercent_ = false;
    return Clear();
  }
  const int percent = static_cast<int>(value * 100 / max_);
  if (percent == percent_) return;
  percent_ = percent;
  Draw();
}

std::string ConsoleProgress::Line() const {
  std::string files;
  if (showsFiles_) files.append("[").append(std::to_string(done_)).append("/").append(std::to_string(files_)) += "] ";
  std::string percent;
  if (showsPercent_) percent.append(": ").append(std::to_string(percent_)) += "%";
  const auto line = [&](std::string_view path) {
    return std::string("kelbrin-cli: ").append(files).append(path).append(percent);
  };
  const std::string whole = line(path_);
  return whole.size() <= kWidth ? whole : line(SplitTarget(path_, PlatformPathRules()).TargetFileName);
}

// Blanks over what a longer line left, rather than an escape sequence, which
// not every console knows.
void ConsoleProgress::Draw() {
  const std::string line = Line();
  const std::string rest = line.size() < width_ ? std::string(width_ - line.size(), ' ') : "";
  std::fprintf(stream_, "\r%s%s", line.c_str(), rest.c_str());
  std::fflush(stream_);
  width_ = line.size();
  drawn_ = std::chrono::steady_clock::now();
}

void ConsoleProgress::Clear() {
  if (width_ == 0) return;
  std::fprintf(stream_, "\r%s\r", std::string(width_, ' ').c_str());
  std::fflush(stream_);
  width_ = 0;
  percent_ = -1;
  drawn_ = {};
}

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

}  // namespace kelbrin::cli
