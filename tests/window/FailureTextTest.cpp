#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "FailureText.h"
#include "WindowTesting.h"

namespace kelbrin::test {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::wistringstream in(text);
  for (std::wstring line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::wstring SystemWords(DWORD code) {
  wchar_t buffer[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, 512, nullptr);
  std::wstring words = buffer;
  while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) words.pop_back();
  return words;
}

PassFailure Failure(PassKind pass, FailureReason reason, std::uint32_t osError) {
  return {pass, Ansi("C:\\ソース\\表.pas"), reason, osError, true, ""};
}

TEST(FailureText, NamesThePassThePathTheSystemsReasonAndThatTheFileIsUnchanged) {
  const auto lines = Lines(ui::FailureText(Failure(PassKind::CommentDelete, FailureReason::NotFound, 2)));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], L"コメントの削除に失敗しました。");
  EXPECT_EQ(lines[1], L"C:\\ソース\\表.pas");
  EXPECT_EQ(lines[2], SystemWords(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(lines[2].empty());
  EXPECT_EQ(lines[3], L"ファイルは元のままです。");
}

TEST(FailureText, SaysWhereTheOriginalLiesWhenItCouldNotBePutBack) {
  PassFailure failure = Failure(PassKind::SpaceToTab, FailureReason::DiskFull, ERROR_DISK_FULL);
  failure.unchanged = false;
  failure.backupPath = Ansi("C:\\ソース\\TabOld_表.pas");
  const auto lines = Lines(ui::FailureText(failure));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], L"タブへの変換に失敗しました。");
  EXPECT_EQ(lines[2], SystemWords(ERROR_DISK_FULL));
  EXPECT_EQ(lines[3], L"元のファイルは次の名前で残っています:");
  EXPECT_EQ(lines[4], L"C:\\ソース\\TabOld_表.pas");
}

// Reasons of the program's own come without a system code: each has words of its own.
TEST(FailureText, ReasonsWithoutASystemCodeHaveWordsOfTheirOwn) {
  const FailureReason reasons[] = {FailureReason::NotFound,       FailureReason::IsDirectory,
                                   FailureReason::NotRegularFile, FailureReason::AccessDenied,
                                   FailureReason::InUse,          FailureReason::DiskFull,
                                   FailureReason::NameTaken,      FailureReason::NoFreeBackupName,
                                   FailureReason::InputChanged,   FailureReason::NotSupported,
                                   FailureReason::Other};
  std::set<std::wstring> words;
  for (FailureReason reason : reasons) {
    const auto lines = Lines(ui::FailureText(Failure(PassKind::CommentDelete, reason, 0)));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_FALSE(lines[2].empty());
    words.insert(lines[2]);
  }
  EXPECT_EQ(words.size(), std::size(reasons));
  EXPECT_EQ(Lines(ui::FailureText(Failure(PassKind::CommentDelete, FailureReason::IsDirectory, 0)))[2],
            L"ファイルではなくフォルダーです。");
}

TEST(FailureText, ACodeTheSystemCannotWordFallsBackOnOurOwn) {
  const auto lines = Lines(ui::FailureText(Failure(PassKind::CommentDelete, FailureReason::Other, 0x2ffffff)));
  EXPECT_EQ(lines[2], L"原因不明のエラーです。");
}

TEST(FailureText, WithNoFileChosenThatIsAllItSays) {
  EXPECT_EQ(ui::FailureText(Failure(PassKind::SpaceToTab, FailureReason::NoFileName, 0)),
            L"ファイルが選択されていません。");
}

}  // namespace
}  // namespace kelbrin::test
