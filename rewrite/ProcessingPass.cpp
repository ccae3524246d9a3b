#include "ProcessingPass.h"

#include <string>
#include <utility>

#include "BackupName.h"
#include "RewriteStream.h"
#include "SplitTarget.h"
#include "StopRequest.h"

namespace kelbrin {
namespace {

// Enough for every sensible number of runs over one file; past it the pass
// refuses rather than searching on.
constexpr int kMaxBackupNumber = 9999;

// The pass writes its result to a work file beside the target and publishes
// it only when it is whole: the backup name is made to hold the original,
// then the work file takes the target's name in one step. Until then the
// target's name holds the original; a pass that fails or is stopped takes
// back what it made and leaves the file as it was.
class Pass {
 public:
  Pass(const TargetFile& target, const PassDefinition& definition, PassProgress& progress, FileSystem& fileSystem)
      : definition_(definition), progress_(progress), fs_(fileSystem), chosenPath_(target.Path()), file_(target),
        targetPath_(chosenPath_) {}

  std::optional<PassFailure> Run() {
    if (file_.TargetFileName.empty()) return Failed({FailureReason::NoFileName, 0});
    if (IoStatus status = fs_.Inspect(chosenPath_); !status) return Failed(status);
    if (IoStatus status = FindFile(); !status) return Failed(status);
    if (IoStatus status = fs_.OpenForReading(targetPath_, input_); !status) return Failed(status);
    inputOpen_ = true;
    const IoStatus status = WriteAndPublish();
    CloseInput();
    // Once the result is published there is nothing left to take back.
    Withdraw();
    if (status) return std::nullopt;
    return Failed(status);
  }

 private:
  // A symbolic link is followed: the file it leads to is rewritten, with its
  // backups beside it, and the link goes on leading to it. Renaming the link
  // instead would leave a "backup" that is only a link to the changed file.
  IoStatus FindFile() {
    std::string filePath;
    const IoStatus status = fs_.ResolveFile(chosenPath_, filePath);
    if (status && filePath != chosenPath_) {
      file_ = SplitTarget(filePath, PlatformPathRules());
      targetPath_ = std::move(filePath);
    }
    return status;
  }

  IoStatus WriteAndPublish() {
    if (IoStatus status = fs_.Identify(input_, original_); !status) return status;
    if (IoStatus status = fs_.CreateWorkFile(file_.TargetDir, work_, workPath_); !status) return status;
    const IoStatus written = WriteWorkFile();
    const IoStatus closed = fs_.Close(work_);
    if (!written) return written;
    if (!closed) return closed;
    if (StopRequested()) return {FailureReason::Interrupted, 0};
    if (LeavesFileAlone()) return {};  // the work file is taken back
    if (IoStatus status = CheckUntouched(); !status) return status;
    return Publish();
  }

  IoStatus WriteWorkFile() {
    progress_.SetMin(0);
    progress_.SetMax(original_.size);
    const StreamResult result = RewriteStream(
        fs_, input_, work_, definition_.rule, [this](std::int64_t read) { progress_.SetPosition(read); }, {},
        original_.size);
    progress_.SetPosition(0);
    if (!result.status) return result.status;
    if (result.consumed != original_.size) return {FailureReason::InputChanged, 0};
    unchanged_ = result.unchanged;
    if (LeavesFileAlone()) return {};
    return fs_.CopyMetadata(input_, targetPath_, work_, workPath_);
  }

  // A result that is the file as it is, where such a result is not published.
  bool LeavesFileAlone() const { return unchanged_ && definition_.leaveUnchanged; }

  // What was read must be what the target's name holds: another program may
  // have written to the file, or saved another in its place, meanwhile.
  IoStatus CheckUntouched() {
    FileIdentity now;
    if (IoStatus status = fs_.Identify(input_, now); !status) return status;
    if (now != original_) return {FailureReason::InputChanged, 0};
    return CheckNamesOriginal(targetPath_);
  }

  // Whether `path` names the original unchanged. A second name for it
  // changes its change time, so only its content's marks are compared; some
  // file systems give a moved file a new modification time too.
  IoStatus CheckNamesOriginal(const std::string& path) {
    FileIdentity named;
    const IoStatus status = fs_.IdentifyPath(path, named);
    if (status.reason == FailureReason::NotFound ||
        (status && !(named.SameFile(original_) && named.size == original_.size &&
                     (backupMoved_ || named.modified == original_.modified))))
      return {FailureReason::InputChanged, 0};
    return status;
  }

  // Windows replaces no file that is open, so the original is closed first,
  // and the target's name checked once more just before it is replaced.
  IoStatus Publish() {
    if (!definition_.backupPrefix.empty()) {
      if (IoStatus status = KeepOriginal(); !status) return status;
    }
    CloseInput();
    if (!backupMoved_) {
      if (IoStatus status = CheckNamesOriginal(targetPath_); !status) return status;
    }
    if (IoStatus status = fs_.Replace(workPath_, targetPath_, backupPath_); !status) return status;
    workPath_.clear();
    backupPath_.clear();
    return {};
  }

  // All of it has been read, so a failing close of the original loses nothing.
  void CloseInput() {
    if (inputOpen_) fs_.Close(input_);
    inputOpen_ = false;
  }

  // A second name holds the original where the file system allows one, so
  // that the target's own name goes on holding it until the result takes its
  // place. Elsewhere the original is moved to the backup name. Either way the
  // name itself decides whether it is free: no other program can slip a file
  // in between a test and the move.
  IoStatus KeepOriginal() {
    for (int n = 1; n <= kMaxBackupNumber; ++n) {
      std::string candidate = file_.TargetDir + BackupName(definition_.backupPrefix, file_.TargetFileName, n);
      IoStatus status = backupMoved_ ? fs_.RenameNoReplace(targetPath_, candidate) : fs_.Link(targetPath_, candidate);
      if (status.reason == FailureReason::NoLinks) {
        backupMoved_ = true;
        status = fs_.RenameNoReplace(targetPath_, candidate);
      }
      if (status) {
        backupPath_ = std::move(candidate);
        return CheckNamesOriginal(backupPath_);
      }
      if (status.reason != FailureReason::NameTaken) return status;
    }
    return {FailureReason::NoFreeBackupName, 0};
  }

  // Takes back what the pass made. A work file or a second name that cannot
  // be removed is left over, but the target keeps the original; only a
  // moved original that cannot be moved back makes the failure say where it
  // lies.
  void Withdraw() {
    if (!workPath_.empty()) fs_.Remove(workPath_, "");
    if (backupPath_.empty()) return;
    const IoStatus undone =
        backupMoved_ ? fs_.RenameNoReplace(backupPath_, targetPath_) : fs_.Remove(backupPath_, targetPath_);
    if (undone || !backupMoved_) backupPath_.clear();
  }

  PassFailure Failed(const IoStatus& status) const {
    return {definition_.kind, chosenPath_, status.reason, status.osError, backupPath_.empty(), backupPath_};
  }

  const PassDefinition& definition_;
  PassProgress& progress_;
  FileSystem& fs_;
  const std::string chosenPath_;  // as the user named it, for reports
  TargetFile file_;               // the file itself, a link followed
  std::string targetPath_;
  FileHandle input_ = 0;
  bool inputOpen_ = false;
  FileIdentity original_;
  FileHandle work_ = 0;
  bool unchanged_ = false;  // the result is the file as it is
  std::string workPath_;    // set while the work file is the pass's own
  std::string backupPath_;  // set while a backup name made by the pass may have to be taken back
  bool backupMoved_ = false;  // the original itself moved to the backup name
};

}  // namespace

std::optional<PassFailure> ProcessingPass(const TargetFile& target, const PassDefinition& pass, PassProgress& progress,
                                          FileSystem& fileSystem) {
  return Pass(target, pass, progress, fileSystem).Run();
}

}  // namespace kelbrin
