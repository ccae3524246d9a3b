// kelbrin-cli: the rewriting core on the command line, in place or as a filter.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "CliOptions.h"
#include "ConsoleProgress.h"
#include "FailureText.h"
#include "Encoding.h"
#include "Filter.h"
#include "PassRules.h"
#include "PassesWithRules.h"
#include "SplitTarget.h"
#include "StopOnSignals.h"
#include "StopRequest.h"
#include "version.h"
#ifdef _WIN32
#include "SafeDllSearch.h"
#endif

namespace {

using namespace kelbrin;
using namespace kelbrin::cli;

constexpr int kAllDone = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageFailed = 2;

void Complain(const std::string& text) { std::fprintf(stderr, "kelbrin-cli: %s\n", text.c_str()); }


// Standard input is judged by this much of its start under --encoding=auto:
// what the filter's first block takes.
constexpr std::size_t kJudgedStart = 512 * 1024;

// The options of the rules, but for the language and the encoding, which
// may be a file's own.
RuleOptions OptionsOf(const CliRequest& request) {
  return {.language = request.language,
          .encoding = request.encoding.value_or(Encoding::Cp932),
          .threeBlanks = request.selection.space3,
          .tabStops = request.tabStops,
          .leadingOnly = request.leading};
}

// Only the lexers and the tab stops read characters; the plain rules read bytes.
bool ReadsCharacters(const RuleOptions& options) { return options.language || options.tabStops > 0; }

bool RewriteInPlace(const std::string& path, const CliRequest& request, ConsoleProgress& progress) {
  RuleOptions options = OptionsOf(request);
  if (request.languageByExtension) {
    options.language = LanguageForPath(path);
    if (!options.language) {
      Complain(path + ": no language for this name's extension; choose one: --syntax=c, cpp, java or pascal");
      return false;
    }
  }
  // A file that cannot be read is reported by the pass itself.
  if (!request.encoding && ReadsCharacters(options)) EncodingOfFile(PlatformFileSystem(), path, options.encoding);
  const PassRules rules(options);
  const StopOnSignals stoppable;
  progress.SetFile(path);
  const auto failure = RunPasses(SplitTarget(path, PlatformPathRules()), request.selection, rules, progress);
  if (failure) Complain(FailureLine(*failure));
  return !failure;
}

bool RewriteStandardStreams(const CliRequest& request) {
  RuleOptions options = OptionsOf(request);
  std::vector<std::uint8_t> start;
  IoStatus status;
  if (!request.encoding && ReadsCharacters(options)) {
    status = ReadStart(PlatformFileSystem(), kJudgedStart, start);
    options.encoding = EncodingOf(start, start.size() < kJudgedStart);
  }
  if (status) status = RunFilter(PassRules(options).For(request.selection), PlatformFileSystem(), start);
  if (!status) Complain("-: " + ReasonText(status.reason, status.osError));
  return static_cast<bool>(status);
}

int Rewrite(const CliRequest& request) {
  if (!request.selection.Any()) {
    Complain("nothing to do: choose --comments and/or --tabs");
    return kUsageFailed;
  }
  ConsoleProgress progress(stderr, StandardErrorIsTerminal());
  const std::vector<std::string> standardInput = {"-"};
  const std::vector<std::string>& files = request.files.empty() ? standardInput : request.files;
  if (request.languageByExtension && std::find(files.begin(), files.end(), "-") != files.end()) {
    Complain("standard input has no name to choose a language by: give --syntax=c, cpp, java or pascal");
    return kUsageFailed;
  }
  bool allDone = true;
  for (const std::string& file : files) {
    const bool done = file == "-" ? RewriteStandardStreams(request) : RewriteInPlace(file, request, progress);
    allDone = allDone && done;
    // A stop that came after the last pass had published its result has not
    // been told yet.
    if (const int signalNumber = StopRequested()) {
      if (done) Complain("interrupted");
      return ExitStatusAfter(signalNumber);
    }
  }
  return allDone ? kAllDone : kSomeFailed;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  LoadDllsFromTheSystemFolderOnly();
#endif
  PlatformPathRules();  // the code-page facts are read once, at start-up
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const auto parsed = ParseArguments(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    Complain(error->message + " (see kelbrin-cli --help)");
    return kUsageFailed;
  }
  const auto& request = std::get<CliRequest>(parsed);
  switch (request.action) {
    case CliRequest::Action::ShowHelp:
      std::fputs(kUsage, stdout);
      return kAllDone;
    case CliRequest::Action::ShowVersion:
      std::puts("kelbrin-cli " KELBRIN_PRODUCT_VERSION_TEXT "\n" KELBRIN_VERSION_NOTICE);
      return kAllDone;
    case CliRequest::Action::Rewrite:
      break;
  }
  return Rewrite(request);
}
