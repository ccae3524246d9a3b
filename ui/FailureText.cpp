#include "FailureText.h"

#include <windows.h>

#include <string_view>

#include "Text.h"

namespace kelbrin::ui {
namespace {

constexpr std::string_view kNoFileChosen = "ファイルが選択されていません。";
constexpr std::string_view kUnchanged = "ファイルは元のままです。";
constexpr std::string_view kOriginalKeptAs = "元のファイルは次の名前で残っています:";

template <class Key>
struct Words {
  Key key;
  std::string_view text;
};

template <class Key, std::size_t N>
std::string_view WordsFor(const Words<Key> (&table)[N], Key key, std::string_view otherwise) {
  for (const Words<Key>& words : table)
    if (words.key == key) return words.text;
  return otherwise;
}

constexpr Words<PassKind> kPassFailed[] = {
    {PassKind::CommentDelete, "コメントの削除に失敗しました。"},
    {PassKind::SpaceToTab, "タブへの変換に失敗しました。"},
};

// Our own words, for reasons that come with no code of the system's.
constexpr Words<FailureReason> kReasons[] = {
    {FailureReason::NotFound, "ファイルが見つかりません。"},
    {FailureReason::IsDirectory, "ファイルではなくフォルダーです。"},
    {FailureReason::NotRegularFile, "通常のファイルではありません。"},
    {FailureReason::AccessDenied, "アクセスが拒否されました。"},
    {FailureReason::InUse, "ほかのプログラムが使用中です。"},
    {FailureReason::DiskFull, "ディスクの空き領域が足りません。"},
    {FailureReason::NameTaken, "同じ名前のファイルがすでにあります。"},
    {FailureReason::NoFreeBackupName, "バックアップに使える名前が残っていません。"},
    {FailureReason::InputChanged, "処理中にほかのプログラムがファイルを変更しました。"},
    {FailureReason::NotSupported, "このファイルシステムではファイルの名前を変更できません。"},
};

constexpr std::string_view kUnknownReason = "原因不明のエラーです。";

// The system's message in the user's language, without its line end.
std::wstring SystemWords(std::uint32_t osError) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, osError, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring words(buffer ? buffer : L"", length);
  LocalFree(buffer);
  while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' ')) words.pop_back();
  return words;
}

std::wstring ReasonText(const PassFailure& failure) {
  std::wstring words = failure.osError ? SystemWords(failure.osError) : std::wstring();
  return words.empty() ? FromUtf8(WordsFor(kReasons, failure.reason, kUnknownReason)) : words;
}

}  // namespace

std::wstring FailureText(const PassFailure& failure) {
  if (failure.reason == FailureReason::NoFileName) return FromUtf8(kNoFileChosen);
  const std::string_view passFailed = WordsFor(kPassFailed, failure.pass, kPassFailed[0].text);
  std::wstring text = FromUtf8(passFailed) + L"\n" + FromAnsi(failure.path) + L"\n" + ReasonText(failure) + L"\n";
  if (failure.unchanged) return text + FromUtf8(kUnchanged);
  return text + FromUtf8(kOriginalKeptAs) + L"\n" + FromAnsi(failure.backupPath);
}

}  // namespace kelbrin::ui
