// Another program touches the file while a pass reads it: whatever it did is
// kept, the pass publishes nothing and says so, and nothing of its own is
// left beside the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>


#include "Recorders.h"
#include "RewriteStream.h"
#include "RunJunbi.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Names = std::vector<std::string>;

std::string Original() {
  std::string text;
  while (text.size() < 3 * kStreamBlockSize) text += "    x = a / b; // why\r\n";
  return text;
}

// Windows lets no other program write to a file while a pass reads it, nor
// replace it; it may only be deleted.
#ifndef _WIN32
void AppendBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  ASSERT_NE(file, nullptr);
  std::fputs(bytes.c_str(), file);
  std::fclose(file);
}

// An editor's save: the new content under another name, moved over the file.
void SaveInItsPlace(const std::string& path, const std::string& bytes) {
  WriteBytes(path + ".new", bytes);
  ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
}
#endif

struct MeddlingCase {
  const char* what;
  std::function<void(const std::string& path)> meddle;
  std::optional<std::string> left;  // what the file holds afterwards; nullopt: it is gone
};

void PrintTo(const MeddlingCase& c, std::ostream* os) { *os << c.what; }

const MeddlingCase kCases[] = {
    {"the file is deleted", [](const std::string& path) { std::remove(path.c_str()); }, std::nullopt},
#ifndef _WIN32
    {"an editor saves", [](const std::string& path) { SaveInItsPlace(path, "saved\r\n"); }, "saved\r\n"},
    {"a logger appends", [](const std::string& path) { AppendBytes(path, "logged\n"); }, Original() + "logged\n"},
    {"it is written anew", [](const std::string& path) { WriteBytes(path, "anew\n"); }, "anew\n"},
#endif
};

class OtherProgramsTest : public testing::TestWithParam<MeddlingCase> {};

TEST_P(OtherProgramsTest, KeepWhatTheyDidAndTheRunSaysTheFileChanged) {
  TempDir dir;
  const std::string path = dir / "x.pas";
  WriteBytes(path, Original());
  MeddlingProgress progress([&] { GetParam().meddle(path); });
  RecordingDisplay display;
  const auto failure = RunJunbi({dir.Path(), "x.pas"}, {true, true, false}, progress, display);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, FailureReason::InputChanged);
  EXPECT_EQ(failure->pass, PassKind::CommentDelete);
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(dir.Names(), GetParam().left ? Names{"x.pas"} : Names{});
  EXPECT_EQ(ReadBytes(path), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Meddling, OtherProgramsTest, testing::ValuesIn(kCases));

}  // namespace
}  // namespace kelbrin::test
