#include "TidyRun.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BackupName.h"
#include "CheckAhead.h"
#include "ConsoleProgress.h"
#include "ExitStatus.h"
#include "FailureText.h"
#include "FileRules.h"
#include "Filter.h"
#include "InPlaceAhead.h"
#include "PassesWithRules.h"
#include "Preview.h"
#include "SplitTarget.h"
#include "StopOnSignals.h"
#include "StopRequest.h"

namespace kelbrin::cli {
namespace {

constexpr std::string_view kStandardInput = "standard input";
constexpr std::string_view kStandardOutput = "standard output";

std::string Reason(const IoStatus& status) { return ReasonText(status.reason, status.osError); }

bool IsBackup(const std::string& file) { return IsBackupName(SplitTarget(file, PlatformPathRules()).TargetFileName); }

// The line on standard error would mix with what standard output shows on
// the same terminal.
bool ShowsProgress(const CliRequest& request) {
  return IsTerminal(stderr) && (request.InPlace() || !IsTerminal(stdout));
}

class TidyRun {
 public:
  // Only what is shown needs a preview.
  TidyRun(const CliRequest& request, const std::vector<std::string>& files)
      : request_(request), files_(files), progress_(stderr, ShowsProgress(request), files.size()),
        rules_(request, PlatformFileSystem()) {
    if (request.InPlace()) {
      if (!OnTwoThreads()) return;
      // Signals are caught before the second thread takes its first file.
      stoppable_.emplace();
      inPlace_.emplace(files, [this](std::size_t n, PassProgress& progress) { return TidyInPlace(n, progress); },
                       progress_, PlatformFileSystem(), true);
      return;
    }
    preview_.emplace(request, PlatformFileSystem());
    ahead_.emplace(files, [this](const std::string& file) { return RuleAhead(file); }, PlatformFileSystem(),
                   request.check && !request.diff && files.size() > ConsoleProgress::kFewFiles);
  }

  int Run() {
    ExitStatus status(request_.check);
    // In place, only the filter needs standard output.
    for (std::size_t n = 0; n < files_.size() && !(status.Stopped() && !request_.InPlace()); ++n) {
      progress_.StartFile(n, files_[n]);
      const Outcome outcome = One(n);
      status.Add(outcome);
      // A stop that came after the last pass had published its result has
      // not been told yet.
      if (const int signalNumber = StopRequested()) {
        // The files the second thread took meanwhile are through as well.
        Outcome last = outcome;
        for (std::size_t k = n + 1; inPlace_ && k < inPlace_->Taken(); ++k) last = Told(inPlace_->Take(k));
        if (last == Outcome::Done) progress_.Say("interrupted");
        progress_.Finish();
        return ExitStatusAfter(signalNumber);
      }
    }
    if (preview_ && !status.Stopped() && !preview_->Flush()) status.Add(OutputFailed());
    progress_.Finish();
    return status.Code();
  }

 private:
  bool Skipped(const std::string& file) const { return IsBackup(file) && !request_.tidyBackups; }

  // What the second thread of --check checks a FILE with.
  const ByteRule* RuleAhead(const std::string& file) {
    if (file == "-" || Skipped(file)) return nullptr;
    const PassRules* rules = rules_.For(file);
    return rules ? &rules->For(request_.selection) : nullptr;
  }

  Outcome One(std::size_t n) {
    const std::string& file = files_[n];
    if (file == "-" && (request_.InPlace() || request_.toStandardOutput)) return Filter();
    if (request_.InPlace()) {
      if (inPlace_) return Told(inPlace_->Take(n));
      // A signal stops the files in place from the first on, until a filter comes.
      if (!stoppable_) stoppable_.emplace();
      return Told(TidyInPlace(n, progress_));
    }
    if (file == "-") return ShowStandardInput(n);
    const PassRules* rules = nullptr;
    if (const auto refused = Refused(file, rules)) return Told(*refused);
    const auto checked = ahead_->Take(n);
    const FileResult result =
        checked ? preview_->Record(file, *checked) : preview_->Show(file, rules->For(request_.selection));
    return Shown(file, result);
  }

  // Standard input shown as --check and --diff show a FILE.
  Outcome ShowStandardInput(std::size_t n) {
    ahead_->Take(n);
    std::vector<std::uint8_t> start;
    IoStatus status;
    const PassRules& rules = rules_.ForStandardInput(start, status);
    if (!status) return Said(kStandardInput, {Outcome::Failed, status});
    return Shown("-", preview_->Show("-", rules.For(request_.selection), start));
  }

  Outcome Shown(const std::string& file, const FileResult& result) {
    // What fails is the FILE, or else standard output.
    if (result.outcome == Outcome::Failed) return Said(file == "-" ? kStandardInput : file, result);
    return Said(kStandardOutput, result);
  }

  // What is held for standard output goes out before the filter writes.
  Outcome Filter() {
    stoppable_.reset();
    if (preview_ && !preview_->Flush()) return OutputFailed();
    std::vector<std::uint8_t> start;
    IoStatus read;
    const PassRules& rules = rules_.ForStandardInput(start, read);
    if (!read) return Said(kStandardInput, {Outcome::Failed, read});
    const StreamResult result = RunFilter(rules.For(request_.selection), PlatformFileSystem(), start);
    if (result.status) return Outcome::Done;
    return Said(result.outputFailed ? kStandardOutput : kStandardInput,
                {result.outputFailed ? Outcome::OutputFailed : Outcome::Failed, result.status});
  }

  // A FILE left alone before it is read: a backup, or a name that gives no
  // language. Otherwise `rules` are the FILE's.
  std::optional<TidiedFile> Refused(const std::string& file, const PassRules*& rules) {
    if (Skipped(file)) return TidiedFile{Outcome::Done, file + ": a backup; skipped"};
    rules = rules_.For(file);
    if (!rules) return TidiedFile{Outcome::Failed, file + ": " + FileRules::kNoLanguage};
    return std::nullopt;
  }

  // A file that neither pass would change is left as it is. Runs on either
  // thread: what it has to say is said by the caller, in the files' order.
  TidiedFile TidyInPlace(std::size_t n, PassProgress& progress) {
    const std::string& file = files_[n];
    const PassRules* rules = nullptr;
    if (auto refused = Refused(file, rules)) return std::move(*refused);
    const auto failure = RunPasses(SplitTarget(file, PlatformPathRules()), request_.selection, *rules,
                                   {.backups = request_.backups, .leaveUnchanged = true}, progress);
    if (failure) return {Outcome::Failed, FailureLine(*failure)};
    return {};
  }

  // Many files in place share two threads, unless one of them is standard
  // input (its filter runs with the signals' usual effect) or backups are
  // tidied too: a FILE and a backup made of it meanwhile must be taken in
  // their order.
  bool OnTwoThreads() const {
    return files_.size() > 1 && !request_.tidyBackups && std::find(files_.begin(), files_.end(), "-") == files_.end();
  }

  Outcome Told(const TidiedFile& tidied) {
    if (!tidied.line.empty()) progress_.Say(tidied.line);
    return tidied.outcome;
  }

  Outcome OutputFailed() { return Said(kStandardOutput, {Outcome::OutputFailed, preview_->OutputStatus()}); }

  // Says why `name` failed, when it did.
  Outcome Said(std::string_view name, const FileResult& result) {
    if (result.outcome == Outcome::Failed || result.outcome == Outcome::OutputFailed)
      progress_.Say(std::string(name) + ": " + Reason(result.why));
    return result.outcome;
  }

  const CliRequest& request_;
  const std::vector<std::string>& files_;
  ConsoleProgress progress_;
  FileRules rules_;
  std::optional<Preview> preview_;
  std::optional<CheckAhead> ahead_;
  std::optional<StopOnSignals> stoppable_;
  std::optional<InPlaceAhead> inPlace_;  // ends before the signals are let go
};

}  // namespace

int Tidy(const CliRequest& request) {
  if (!request.selection.Any()) {
    std::fputs("kelbrin-cli: nothing to do: choose --comments and/or --tabs\n", stderr);
    return ExitStatus::kUsageFailed;
  }
  const std::vector<std::string> files = request.files.empty() ? std::vector<std::string>{"-"} : request.files;
  if (request.languageByExtension && std::find(files.begin(), files.end(), "-") != files.end()) {
    std::fputs("kelbrin-cli: standard input has no name to choose a language by: give --syntax=c, cpp, java or pascal\n",
               stderr);
    return ExitStatus::kUsageFailed;
  }
  return TidyRun(request, files).Run();
}

}  // namespace kelbrin::cli
