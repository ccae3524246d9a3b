#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CliOptions.h"
#include "PassRules.h"
#include "platform/FileSystem.h"

namespace kelbrin::cli {

// The rules each FILE is tidied by: the options' rules, with the language
// its name's extension gives under --syntax=auto, and the encoding its
// content gives under --encoding=auto where the rules read characters. Each
// set of rules is made once. Safe to use from two threads.
class FileRules {
 public:
  // Standard input is judged by this much of its start: what the filter's
  // first block takes.
  static constexpr std::size_t kJudgedStart = 512 * 1024;

  FileRules(const CliRequest& request, FileSystem& fileSystem);

  // The rules for `file`, or null when --syntax=auto finds no language for
  // its name. A file that cannot be read is taken as code page 932: what
  // reads it next reports why.
  const PassRules* For(const std::string& file);

  // The rules for standard input; `start` receives what was read of it to
  // judge its encoding, which comes first.
  const PassRules& ForStandardInput(std::vector<std::uint8_t>& start, IoStatus& status);

  // What to tell the user about a FILE that For() has no rules for.
  static constexpr const char* kNoLanguage =
      "no language for this name's extension; choose one: --syntax=c, cpp, java or pascal";

 private:
  const PassRules& Made(const RuleOptions& options);

  RuleOptions options_;
  bool byExtension_;
  bool byContent_;
  FileSystem& fs_;
  std::mutex mutex_;
  std::map<std::pair<int, int>, std::unique_ptr<PassRules>> made_;  // by language and encoding
};

}  // namespace kelbrin::cli
