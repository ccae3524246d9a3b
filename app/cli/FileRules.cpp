#include "FileRules.h"

#include "Encoding.h"
#include "Filter.h"

namespace kelbrin::cli {
namespace {

// Only the lexers and the tab stops read characters; the plain rules read bytes.
bool ReadsCharacters(const RuleOptions& options) { return options.language || options.tabStops > 0; }

}  // namespace

FileRules::FileRules(const CliRequest& request, FileSystem& fileSystem)
    : options_{.language = request.language,
               .encoding = request.encoding.value_or(Encoding::Cp932),
               .threeBlanks = request.selection.space3,
               .tabStops = request.tabStops,
               .leadingOnly = request.leading},
      byExtension_(request.languageByExtension),
      byContent_(!request.encoding),
      fs_(fileSystem) {}

const PassRules* FileRules::For(const std::string& file) {
  RuleOptions options = options_;
  if (byExtension_) {
    options.language = LanguageForPath(file);
    if (!options.language) return nullptr;
  }
  if (byContent_ && ReadsCharacters(options)) EncodingOfFile(fs_, file, options.encoding);
  return &Made(options);
}

const PassRules& FileRules::ForStandardInput(std::vector<std::uint8_t>& start, IoStatus& status) {
  RuleOptions options = options_;
  if (byContent_ && ReadsCharacters(options)) {
    status = ReadStart(fs_, kJudgedStart, start);
    options.encoding = EncodingOf(start, start.size() < kJudgedStart);
  }
  return Made(options);
}

const PassRules& FileRules::Made(const RuleOptions& options) {
  const std::lock_guard lock(mutex_);
  const std::pair<int, int> key{options.language ? static_cast<int>(*options.language) : -1,
                                static_cast<int>(options.encoding)};
  std::unique_ptr<PassRules>& rules = made_[key];
  if (!rules) rules = std::make_unique<PassRules>(options);
  return *rules;
}

}  // namespace kelbrin::cli
