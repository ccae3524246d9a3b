#include "FailureText.h"

#include <cctype>
#include <cstring>

namespace kelbrin::cli {
namespace {

struct ReasonWords {
  FailureReason reason;
  const char* text;
};

constexpr ReasonWords kReasons[] = {
    {FailureReason::NoFileName, "no file name"},
    {FailureReason::NotFound, "no such file"},
    {FailureReason::IsDirectory, "is a directory"},
    {FailureReason::NotRegularFile, "not a regular file"},
    {FailureReason::AccessDenied, "permission denied"},
    {FailureReason::InUse, "in use by another program"},
    {FailureReason::DiskFull, "disk full"},
    {FailureReason::NameTaken, "name already taken"},
    {FailureReason::NameTooLong, "name too long"},
    {FailureReason::NoFreeBackupName, "no free backup name"},
    {FailureReason::InputChanged, "file changed while being tidied"},
    {FailureReason::NotSupported, "the file system can neither link nor rename the file"},
    {FailureReason::Interrupted, "interrupted"},
    {FailureReason::InputIsOutput, "input file is output file"},
};

std::string SystemText(std::uint32_t osError) {
#ifdef _WIN32
  return "system error " + std::to_string(osError);
#else
  std::string text = std::strerror(static_cast<int>(osError));
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
#endif
}

}  // namespace

std::string ReasonText(FailureReason reason, std::uint32_t osError) {
  for (const ReasonWords& words : kReasons)
    if (words.reason == reason) return words.text;
  return osError ? SystemText(osError) : "failed";
}

std::string FailureLine(const PassFailure& failure) {
  std::string line = failure.path + ": " + ReasonText(failure.reason, failure.osError);
  if (failure.unchanged) return line + "; file unchanged";
  return line + "; the original is kept as " + failure.backupPath;
}

}  // namespace kelbrin::cli
