// kelbrin-cli: the rewriting core on the command line, in place or as a filter.
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "CliOptions.h"
#include "ConsoleProgress.h"
#include "FailureText.h"
#include "Filter.h"
#include "RunJunbi.h"
#include "SplitTarget.h"
#include "StopOnSignals.h"
#include "StopRequest.h"
#include "version.h"

namespace {

using namespace kelbrin;
using namespace kelbrin::cli;

constexpr int kAllDone = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageFailed = 2;

void Complain(const std::string& text) { std::fprintf(stderr, "kelbrin-cli: %s\n", text.c_str()); }

// Failures go to standard error; success says nothing.
class ConsoleDisplay final : public MessageDisplay {
 public:
  void ShowCompletion(std::string_view) override {}
  void ShowFailure(const PassFailure& failure) override { Complain(FailureLine(failure)); }
};

bool RewriteInPlace(const std::string& path, const PassSelection& selection, ConsoleProgress& progress) {
  const StopOnSignals stoppable;
  ConsoleDisplay display;
  progress.SetFile(path);
  return !RunJunbi(SplitTarget(path, PlatformPathRules()), selection, progress, display);
}

bool RewriteStandardStreams(const PassSelection& selection) {
  const IoStatus status = RunFilter(selection);
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
  bool allDone = true;
  for (const std::string& file : request.files.empty() ? standardInput : request.files) {
    const bool done = file == "-" ? RewriteStandardStreams(request.selection)
                                  : RewriteInPlace(file, request.selection, progress);
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
      std::puts("kelbrin-cli " KELBRIN_PRODUCT_VERSION_TEXT);
      return kAllDone;
    case CliRequest::Action::Rewrite:
      break;
  }
  return Rewrite(request);
}
