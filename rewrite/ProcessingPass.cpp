#include "ProcessingPass.h"

#include <string>
#include <utility>

#include "BackupName.h"
#include "RewriteStream.h"
#include "SplitTarget.h"

namespace kelbrin {
namespace {

// Enough for every sensible number of runs over one file; past it the pass
// refuses rather than searching on.
constexpr int kMaxBackupNumber = 9999;

class Pass {
 public:
  Pass(const TargetFile& target, const PassDefinition& definition, PassProgress& progress, FileSystem& fileSystem)
      : definition_(definition), progress_(progress), fs_(fileSystem), chosenPath_(target.Path()), file_(target),
        targetPath_(chosenPath_) {}

  std::optional<PassFailure> Run() {
    if (file_.TargetFileName.empty()) return Failed({FailureReason::NoFileName, 0});
    if (IoStatus status = fs_.Inspect(chosenPath_); !status) return Failed(status);
    if (IoStatus status = FindFile(); !status) return Failed(status);
    if (IoStatus status = MoveTargetAside(); !status) return Failed(status);
    if (IoStatus status = Rewrite(); !status) {
      if (PutBack()) backupPath_.clear();
      return Failed(status);
    }
    return std::nullopt;
  }

 private:
  // A symbolic link is followed: the file it leads to is rewritten, with its
  // backups beside it, and the link goes on leading to it. Renaming the link
  // instead would leave a "backup" that is only a link to the changed file.
  IoStatus FindFile() {
    std::string filePath;
    const IoStatus status = fs_.FollowLink(chosenPath_, filePath);
    if (status && filePath != chosenPath_) {
      file_ = SplitTarget(filePath, PlatformPathRules());
      targetPath_ = std::move(filePath);
    }
    return status;
  }

  // The rename itself decides whether a name is free, so no other program can
  // slip a file in between a test and the move.
  IoStatus MoveTargetAside() {
    for (int n = 1; n <= kMaxBackupNumber; ++n) {
      std::string candidate = file_.TargetDir + BackupName(definition_.backupPrefix, file_.TargetFileName, n);
      IoStatus status = fs_.RenameNoReplace(targetPath_, candidate);
      if (status) backupPath_ = std::move(candidate);
      if (status.reason != FailureReason::NameTaken) return status;
    }
    return {FailureReason::NoFreeBackupName, 0};
  }

  IoStatus Rewrite() {
    FileHandle input = 0;
    if (IoStatus status = fs_.OpenForReading(backupPath_, input); !status) return status;
    FileHandle output = 0;
    IoStatus status = fs_.CreateForWriting(targetPath_, output);
    if (!status) {
      fs_.Close(input);
      return status;
    }
    createdTarget_ = true;
    status = Copy(input, output);
    progress_.SetPosition(0);
    const IoStatus closedInput = fs_.Close(input);
    const IoStatus closedOutput = fs_.Close(output);
    if (!status) return status;
    return closedOutput ? closedInput : closedOutput;
  }

  IoStatus Copy(FileHandle input, FileHandle output) {
    std::int64_t size = 0;
    if (IoStatus status = fs_.Size(input, size); !status) return status;
    progress_.SetMin(0);
    progress_.SetMax(size);
    const StreamResult result =
        RewriteStream(fs_, input, output, definition_.rule, [this](std::int64_t read) { progress_.SetPosition(read); });
    if (!result.status) return result.status;
    // Nothing else may hold the backup, so an input that ends early was cut
    // short by a failing read.
    if (result.consumed < size) return {FailureReason::InputChanged, 0};
    return {};
  }

  // Removes what was written and moves the backup back under the target's
  // name; where that fails the backup still holds the whole content.
  bool PutBack() {
    if (createdTarget_ && !fs_.Remove(targetPath_)) return false;
    return static_cast<bool>(fs_.RenameNoReplace(backupPath_, targetPath_));
  }

  // While the content lies under the backup name only, the failure says where.
  PassFailure Failed(const IoStatus& status) const {
    return {definition_.kind, chosenPath_, status.reason, status.osError, backupPath_.empty(), backupPath_};
  }

  const PassDefinition& definition_;
  PassProgress& progress_;
  FileSystem& fs_;
  const std::string chosenPath_;  // as the user named it, for reports
  TargetFile file_;               // the file itself, a link followed
  std::string targetPath_;
  std::string backupPath_;  // set while the content lies under the backup name
  bool createdTarget_ = false;
};

}  // namespace

std::optional<PassFailure> ProcessingPass(const TargetFile& target, const PassDefinition& pass, PassProgress& progress,
                                          FileSystem& fileSystem) {
  return Pass(target, pass, progress, fileSystem).Run();
}

}  // namespace kelbrin
