#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ConsoleProgress.h"

namespace kelbrin::cli {
namespace {

// What a pass over a file of `size` bytes makes the display print.
std::string Printed(bool isTerminal, std::int64_t size) {
  std::FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  ConsoleProgress progress(stream, isTerminal);
  progress.SetFile("big.pas");
  progress.SetMin(0);
  progress.SetMax(size);
  for (std::int64_t read = size / 4; read < size; read += size / 4) progress.SetPosition(read);
  progress.SetPosition(size);
  progress.SetPosition(0);
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), stream), text.size());
  std::fclose(stream);
  return text;
}

TEST(ConsoleProgress, ShowsPercentagesOnATerminalForLargeFilesAndClearsTheLine) {
  const std::string text = Printed(true, ConsoleProgress::kShowFrom + 4);
  EXPECT_NE(text.find("\rkelbrin-cli: big.pas: 25%"), std::string::npos) << text;
  EXPECT_NE(text.find("\rkelbrin-cli: big.pas: 100%"), std::string::npos) << text;
  const std::string cleared = "\r" + std::string(std::string("kelbrin-cli: big.pas: 100%").size(), ' ') + "\r";
  EXPECT_TRUE(text.ends_with(cleared)) << text;
}

TEST(ConsoleProgress, StaysSilentForPipesAndSmallFiles) {
  EXPECT_EQ(Printed(false, ConsoleProgress::kShowFrom * 4), "");
  EXPECT_EQ(Printed(true, ConsoleProgress::kShowFrom), "");
}

}  // namespace
}  // namespace kelbrin::cli
