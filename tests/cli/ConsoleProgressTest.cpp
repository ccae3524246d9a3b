#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "ConsoleProgress.h"

namespace kelbrin::cli {
namespace {

// What `use` makes a display over `files` files print.
std::string Printed(bool isTerminal, std::size_t files, const std::function<void(ConsoleProgress&)>& use) {
  std::FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  ConsoleProgress progress(stream, isTerminal, files);
  use(progress);
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), stream), text.size());
  std::fclose(stream);
  return text;
}

// What a pass over one file of `size` bytes makes the display print.
std::string PrintedForOneFile(bool isTerminal, std::int64_t size) {
  return Printed(isTerminal, 1, [&](ConsoleProgress& progress) {
    progress.StartFile(0, "big.pas");
    progress.SetMin(0);
    progress.SetMax(size);
    for (std::int64_t read = size / 4; read < size; read += size / 4) progress.SetPosition(read);
    progress.SetPosition(size);
    progress.SetPosition(0);
  });
}

std::string Blanked(std::string_view line) { return "\r" + std::string(line.size(), ' ') + "\r"; }

TEST(ConsoleProgress, ShowsPercentagesOnATerminalForLargeFilesAndClearsTheLine) {
  const std::string text = PrintedForOneFile(true, ConsoleProgress::kShowFrom + 4);
  EXPECT_NE(text.find("\rkelbrin-cli: big.pas: 25%"), std::string::npos) << text;
  EXPECT_NE(text.find("\rkelbrin-cli: big.pas: 100%"), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with(Blanked("kelbrin-cli: big.pas: 100%"))) << text;
}

TEST(ConsoleProgress, StaysSilentForPipesAndSmallFiles) {
  EXPECT_EQ(PrintedForOneFile(false, ConsoleProgress::kShowFrom * 4), "");
  EXPECT_EQ(PrintedForOneFile(true, ConsoleProgress::kShowFrom), "");
}

void StartAll(ConsoleProgress& progress, std::size_t files, const std::string& name = "f") {
  for (std::size_t i = 0; i < files; ++i) progress.StartFile(i, name + std::to_string(i) + ".pas");
}

TEST(ConsoleProgress, ManyFilesOnATerminalShowHowManyAreDoneUntilTheEnd) {
  const std::size_t many = ConsoleProgress::kFewFiles + 2;
  const std::string text = Printed(true, many, [&](ConsoleProgress& progress) {
    StartAll(progress, many);
    progress.Finish();
  });
  const std::string first = "kelbrin-cli: [0/" + std::to_string(many) + "] f0.pas";
  EXPECT_TRUE(text.starts_with("\r" + first)) << text;
  EXPECT_TRUE(text.ends_with(Blanked(first))) << text;
}

TEST(ConsoleProgress, FewFilesOrAPipeShowNoFilesLine) {
  const std::size_t few = ConsoleProgress::kFewFiles;
  EXPECT_EQ(Printed(true, few, [&](ConsoleProgress& p) { StartAll(p, few), p.Finish(); }), "");
  EXPECT_EQ(Printed(false, few * 4, [&](ConsoleProgress& p) { StartAll(p, few * 4), p.Finish(); }), "");
}

TEST(ConsoleProgress, AMessageClearsTheLineFirst) {
  const std::size_t many = ConsoleProgress::kFewFiles + 1;
  const std::string message = "kelbrin-cli: f0.pas: a backup; skipped\n";
  const std::string text = Printed(true, many, [&](ConsoleProgress& p) {
    p.StartFile(0, "f0.pas");
    p.Say("f0.pas: a backup; skipped");
  });
  EXPECT_EQ(text, "\rkelbrin-cli: [0/5] f0.pas" + Blanked("kelbrin-cli: [0/5] f0.pas") + message);
  EXPECT_EQ(Printed(false, many, [&](ConsoleProgress& p) { p.Say("f0.pas: a backup; skipped"); }), message);
}

TEST(ConsoleProgress, ALongPathShowsItsBareName) {
  const std::string folder(80, 'd');
  const std::string text = Printed(true, 9, [&](ConsoleProgress& p) { p.StartFile(3, folder + "/x.pas"); });
  EXPECT_EQ(text, "\rkelbrin-cli: [3/9] x.pas");
}

}  // namespace
}  // namespace kelbrin::cli
