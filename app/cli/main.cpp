// kelbrin-cli: the rewriting core on the command line, in place or as a filter.
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "BackupName.h"
#include "CliOptions.h"
#include "ConsoleProgress.h"
#include "ExitStatus.h"
#include "FailureText.h"
#include "Filter.h"
#include "Preview.h"
#include "RunJunbi.h"
#include "SplitTarget.h"
#include "version.h"

namespace {

using namespace kelbrin;
using namespace kelbrin::cli;

constexpr std::string_view kStandardInput = "standard input";
constexpr std::string_view kStandardOutput = "standard output";

void Complain(const std::string& text) { std::fprintf(stderr, "kelbrin-cli: %s\n", text.c_str()); }

std::string Reason(const IoStatus& status) { return ReasonText(status.reason, status.osError); }

// Failures go to standard error; success says nothing.
class ConsoleDisplay final : public MessageDisplay {
 public:
  explicit ConsoleDisplay(ConsoleProgress& progress) : progress_(progress) {}
  void ShowCompletion(std::string_view) override {}
  void ShowFailure(const PassFailure& failure) override { progress_.Say(FailureLine(failure)); }

 private:
  ConsoleProgress& progress_;
};

Outcome RewriteInPlace(const std::string& path, const CliRequest& request, ConsoleProgress& progress) {
  ConsoleDisplay display(progress);
  return RunJunbi(SplitTarget(path, PlatformPathRules()), request.selection, progress, display) ? Outcome::Failed
                                                                                                 : Outcome::Done;
}

Outcome RewriteStandardStreams(const CliRequest& request, ConsoleProgress& progress) {
  const StreamResult result = RunFilter(request.selection);
  if (result.status) return Outcome::Done;
  progress.Say(std::string(result.outputFailed ? kStandardOutput : kStandardInput) + ": " + Reason(result.status));
  return result.outputFailed ? Outcome::OutputFailed : Outcome::Failed;
}

Outcome ShowWithoutTouching(const std::string& file, Preview& preview, ConsoleProgress& progress) {
  const Preview::Result result = preview.Show(file);
  if (result.outcome == Outcome::OutputFailed) progress.Say(std::string(kStandardOutput) + ": " + Reason(result.why));
  if (result.outcome == Outcome::Failed)
    progress.Say((file == "-" ? std::string(kStandardInput) : file) + ": " + Reason(result.why));
  return result.outcome;
}

bool IsBackup(const std::string& file) { return IsBackupName(SplitTarget(file, PlatformPathRules()).TargetFileName); }

Outcome TidyOne(const std::string& file, const CliRequest& request, Preview& preview, ConsoleProgress& progress) {
  const bool filter = request.InPlace() || request.toStandardOutput;
  if (file == "-" && filter) {
    // What is held for standard output goes first.
    if (!preview.Flush()) return Outcome::OutputFailed;
    return RewriteStandardStreams(request, progress);
  }
  if (file != "-" && IsBackup(file) && !request.tidyBackups) {
    progress.Say(file + ": a backup; skipped");
    return Outcome::Done;
  }
  if (request.InPlace()) return RewriteInPlace(file, request, progress);
  return ShowWithoutTouching(file, preview, progress);
}

// The line on standard error would mix with what standard output shows on
// the same terminal.
bool ShowsProgress(const CliRequest& request) {
  return StandardErrorIsTerminal() && (request.InPlace() || !StandardOutputIsTerminal());
}

int Tidy(const CliRequest& request) {
  if (!request.selection.Any()) {
    Complain("nothing to do: choose --comments and/or --tabs");
    return ExitStatus::kUsageFailed;
  }
  if (request.InPlace() && !request.backups) {
    Complain("--no-backup is not available yet");
    return ExitStatus::kUsageFailed;
  }
  const std::vector<std::string> files = request.files.empty() ? std::vector<std::string>{"-"} : request.files;
  ConsoleProgress progress(stderr, ShowsProgress(request), files.size());
  Preview preview(request, PlatformFileSystem());
  ExitStatus status(request.check);
  for (std::size_t i = 0; i < files.size() && !status.Stopped(); ++i) {
    progress.StartFile(i, files[i]);
    status.Add(TidyOne(files[i], request, preview, progress));
  }
  if (!status.Stopped() && !preview.Flush()) {
    progress.Say(std::string(kStandardOutput) + ": " + Reason(preview.OutputStatus()));
    status.Add(Outcome::OutputFailed);
  }
  progress.Finish();
  return status.Code();
}

}  // namespace

int main(int argc, char** argv) {
  PlatformPathRules();  // the code-page facts are read once, at start-up
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const auto parsed = ParseArguments(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    Complain(error->message + " (see kelbrin-cli --help)");
    return ExitStatus::kUsageFailed;
  }
  const auto& request = std::get<CliRequest>(parsed);
  switch (request.action) {
    case CliRequest::Action::ShowHelp:
      std::fputs(kUsage, stdout);
      return ExitStatus::kDone;
    case CliRequest::Action::ShowVersion:
      std::puts("kelbrin-cli " KELBRIN_PRODUCT_VERSION_TEXT);
      return ExitStatus::kDone;
    case CliRequest::Action::Rewrite:
      break;
  }
  return Tidy(request);
}
