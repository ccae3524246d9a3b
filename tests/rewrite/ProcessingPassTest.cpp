#include <gtest/gtest.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

#include "BackupName.h"
#include "FaultInjectingFileSystem.h"
#include "Passes.h"
#include "PassesWithRules.h"
#include "Recorders.h"
#include "RewriteStream.h"
#include "RunJunbi.h"
#include "SplitTarget.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Names = std::vector<std::string>;

const std::string kSource = "a = b / c; // note\r\n    x\r\n";
const std::string kWithoutComments = "a = b / c; \r\n    x\r\n";
const std::string kTidied = "a = b / c; \r\n\tx\r\n";

std::string Repeat(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return text;
}

// Large enough for several blocks of reading and writing, with something for
// each rule to do in every block.
const std::string kLine = "    if (a / b) x();  // why\r\n";
const std::string kLineWithoutComment = "    if (a / b) x();  \r\n";
const int kLines = static_cast<int>(4 * kStreamBlockSize / kLine.size());

std::string LargeSource() { return Repeat(kLine, kLines); }

class PassTest : public testing::Test {
 protected:
  TargetFile Target(const std::string& name = "x.pas") const { return {dir.Path(), name}; }

  std::optional<PassFailure> Run(PassSelection selection, FileSystem& fs = PlatformFileSystem()) {
    return RunJunbi(Target(), selection, progress, display, fs);
  }

  TempDir dir;
  RecordingProgress progress;
  RecordingDisplay display;
};

constexpr PassSelection kBoth{true, true, false};

TEST_F(PassTest, BothPassesLeaveBothBackupsAndShowTheCompletionOnce) {
  WriteBytes(dir / "x.pas", kSource);
  EXPECT_FALSE(Run(kBoth));
  EXPECT_EQ(dir.Names(), (Names{"ComOld_x.pas", "TabOld_x.pas", "x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), kSource);
  EXPECT_EQ(ReadBytes(dir / "TabOld_x.pas"), kWithoutComments);
  EXPECT_EQ(ReadBytes(dir / "x.pas"), kTidied);
  EXPECT_EQ(display.completions, (Names{"んん、カッコよくなったなっ!!"}));
  EXPECT_TRUE(display.failures.empty());
}

TEST_F(PassTest, NoPassSelectedTouchesNothingAndSaysNothing) {
  WriteBytes(dir / "x.pas", kSource);
  for (PassSelection selection : {PassSelection{}, PassSelection{false, false, true}}) {
    EXPECT_FALSE(Run(selection));
  }
  EXPECT_EQ(dir.Names(), (Names{"x.pas"}));
  EXPECT_TRUE(display.completions.empty() && display.failures.empty() && progress.settings.empty());
}

TEST_F(PassTest, RepeatedRunsKeepEveryBackup) {
  WriteBytes(dir / "x.pas", kSource);
  ASSERT_FALSE(Run(kBoth));
  WriteBytes(dir / "x.pas", "second // run\r\n");
  ASSERT_FALSE(Run(kBoth));
  EXPECT_EQ(dir.Names(), (Names{"ComOld_x (2).pas", "ComOld_x.pas", "TabOld_x (2).pas", "TabOld_x.pas", "x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), kSource);
  EXPECT_EQ(ReadBytes(dir / "ComOld_x (2).pas"), "second // run\r\n");
  EXPECT_EQ(ReadBytes(dir / "x.pas"), "second \r\n");
}

// Identity and modification time in the platform's own terms.
FileIdentity IdentityOf(const std::string& path) {
  FileIdentity identity;
  EXPECT_TRUE(PlatformFileSystem().IdentifyPath(path, identity)) << path;
  return identity;
}

// In place from the command line: a pass that would change nothing leaves
// the file as it is, and without backups both passes are one.
TEST_F(PassTest, InPlaceChoicesLeaveUnchangedFilesAloneAndKeepNoBackupsWhenAsked) {
  const struct {
    const char* what;
    std::string text;
    InPlaceChoice choice;
    Names names;
    std::string result;
  } cases[] = {
      {"nothing to do", "a = b;\r\n\tx\r\n", {.leaveUnchanged = true}, {"x.pas"}, "a = b;\r\n\tx\r\n"},
      {"only the tab pass has work", "a = b;\r\n    x\r\n", {.leaveUnchanged = true}, {"TabOld_x.pas", "x.pas"},
       "a = b;\r\n\tx\r\n"},
      {"both, without backups", kSource, {.backups = false, .leaveUnchanged = true}, {"x.pas"}, kTidied},
      {"nothing to do, published all the same", "x\r\n", {}, {"ComOld_x.pas", "TabOld_x.pas", "x.pas"}, "x\r\n"},
  };
  for (const auto& c : cases) {
    TempDir folder;
    WriteBytes(folder / "x.pas", c.text);
    const FileIdentity before = IdentityOf(folder / "x.pas");
    EXPECT_FALSE(RunPasses({folder.Path(), "x.pas"}, kBoth, PassRules({}), c.choice, progress)) << c.what;
    EXPECT_EQ(folder.Names(), c.names) << c.what;
    EXPECT_EQ(ReadBytes(folder / "x.pas"), c.result) << c.what;
    EXPECT_EQ(IdentityOf(folder / "x.pas") == before, c.names.size() == 1 && c.text == c.result) << c.what;
  }
}

TEST(BackupName, NumbersGoBeforeTheExtension) {
  EXPECT_EQ(BackupName("ComOld_", "x.pas", 1), "ComOld_x.pas");
  EXPECT_EQ(BackupName("ComOld_", "x.pas", 2), "ComOld_x (2).pas");
  EXPECT_EQ(BackupName("TabOld_", "Makefile", 3), "TabOld_Makefile (3)");
  EXPECT_EQ(BackupName("TabOld_", ".profile", 2), "TabOld_.profile (2)");
  EXPECT_EQ(BackupName("TabOld_", "a.tar.gz", 12), "TabOld_a.tar (12).gz");
}

TEST_F(PassTest, EmptyFileGivesEmptyBackupAndTarget) {
  WriteBytes(dir / "x.pas", "");
  EXPECT_FALSE(CommentDelete(Target(), progress));
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), "");
  EXPECT_EQ(ReadBytes(dir / "x.pas"), "");
  EXPECT_EQ(progress.Values('x'), (std::vector<std::int64_t>{0}));
  EXPECT_EQ(progress.Values('p'), (std::vector<std::int64_t>{0}));
}

TEST_F(PassTest, ProgressCountsEveryByteReadAndEndsAtZero) {
  const std::string text = LargeSource();
  WriteBytes(dir / "x.pas", text);
  EXPECT_FALSE(SpaceToTab(Target(), true, progress));
  const auto size = static_cast<std::int64_t>(text.size());
  EXPECT_EQ(progress.Values('n'), (std::vector<std::int64_t>{0}));
  EXPECT_EQ(progress.Values('x'), (std::vector<std::int64_t>{size}));
  const auto positions = progress.Values('p');
  ASSERT_GE(positions.size(), 3u);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end() - 1));
  EXPECT_EQ(positions[positions.size() - 2], size);
  EXPECT_EQ(positions.back(), 0);
}

TEST_F(PassTest, RefusesWhatIsNotAFileAndTouchesNothing) {
  MakeDirectory(dir / "folder");
  struct Case {
    TargetFile target;
    FailureReason reason;
  } cases[] = {
      {{dir.Path(), ""}, FailureReason::NoFileName},
      {{"", ""}, FailureReason::NoFileName},
      {{dir.Path(), "missing.pas"}, FailureReason::NotFound},
      {{dir.Path(), "folder"}, FailureReason::IsDirectory},
  };
  for (const Case& c : cases) {
    const auto failure = RunJunbi(c.target, kBoth, progress, display);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, c.reason) << c.target.Path();
    EXPECT_EQ(failure->pass, PassKind::CommentDelete);
    EXPECT_TRUE(failure->unchanged);
  }
  EXPECT_EQ(dir.Names(), (Names{"folder"}));
  EXPECT_TRUE(display.completions.empty());
  EXPECT_EQ(display.failures.size(), std::size(cases));
}

TEST_F(PassTest, AnEmptyDirectoryPartMeansTheCurrentDirectory) {
  WriteBytes(dir / "x.pas", kSource);
  const std::string before = CurrentDirectory();
  ChangeDirectory(dir.Path());
  const auto failure = RunJunbi({"", "x.pas"}, kBoth, progress, display);
  ChangeDirectory(before);
  EXPECT_FALSE(failure);
  EXPECT_EQ(ReadBytes(dir / "x.pas"), kTidied);
  EXPECT_EQ(dir.Names(), (Names{"ComOld_x.pas", "TabOld_x.pas", "x.pas"}));
}

using Effect = FaultInjectingFileSystem::Effect;

struct FaultCase {
  const char* what;
  FaultInjectingFileSystem::Fault fault;
  FailureReason reason;
};

// Each leaves the file byte for byte as it was, under its own name, and no
// backup or work file behind.
const FaultCase kFaults[] = {
    {"original cannot be opened", {"OpenForReading", 1, Effect::Fail, {FailureReason::InUse, 32}},
     FailureReason::InUse},
    {"work file cannot be created", {"CreateWorkFile", 1, Effect::Fail, {FailureReason::AccessDenied, 5}},
     FailureReason::AccessDenied},
    {"size unknown", {"Identify", 1, Effect::Fail, {FailureReason::Other, 5}}, FailureReason::Other},
    {"read fails half-way", {"Read", 3, Effect::Fail, {FailureReason::Other, 5}}, FailureReason::Other},
    {"read ends early", {"Read", 2, Effect::Nothing}, FailureReason::InputChanged},
    {"write fails half-way", {"Write", 2, Effect::Fail, {FailureReason::Other, 5}}, FailureReason::Other},
    {"disk full", {"Write", 3, Effect::Fail, {FailureReason::DiskFull, 28}}, FailureReason::DiskFull},
    {"write stores nothing", {"Write", 1, Effect::Nothing}, FailureReason::DiskFull},
    {"permissions cannot be kept", {"CopyMetadata", 1, Effect::Fail, {FailureReason::AccessDenied, 1}},
     FailureReason::AccessDenied},
    {"closing the work file fails", {"Close", 1, Effect::Fail, {FailureReason::DiskFull, 28}},
     FailureReason::DiskFull},
    {"the name no longer leads to the file", {"IdentifyPath", 1, Effect::Fail, {FailureReason::NotFound, 2}},
     FailureReason::InputChanged},
    {"backup name cannot be made", {"Link", 1, Effect::Fail, {FailureReason::AccessDenied, 13}},
     FailureReason::AccessDenied},
    {"result cannot take the name", {"Replace", 1, Effect::Fail, {FailureReason::InUse, 32}}, FailureReason::InUse},
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.what; }

class FaultTest : public PassTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTest, PutsTheFileBackAndSaysWhy) {
  const std::string text = LargeSource();
  WriteBytes(dir / "x.pas", text);
  FaultInjectingFileSystem fs;
  fs.Inject(GetParam().fault);
  const auto failure = Run(kBoth, fs);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, GetParam().reason);
  EXPECT_EQ(failure->pass, PassKind::CommentDelete);
  EXPECT_EQ(failure->path, dir / "x.pas");
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(dir.Names(), (Names{"x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "x.pas"), text);
  EXPECT_EQ(display.failures.size(), 1u);
  EXPECT_TRUE(display.completions.empty());
  if (!progress.settings.empty()) {
    EXPECT_EQ(progress.settings.back().which, 'p');
    EXPECT_EQ(progress.settings.back().value, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, testing::ValuesIn(kFaults));

TEST_F(PassTest, ShortReadsAndWritesStillGiveTheWholeResult) {
  const std::string text = LargeSource();
  WriteBytes(dir / "x.pas", text);
  FaultInjectingFileSystem fs;
  for (int n = 1; n <= 4; ++n) {
    fs.Inject({"Read", n, Effect::Short});
    fs.Inject({"Write", n, Effect::Short});
  }
  ASSERT_FALSE(CommentDelete(Target(), progress, fs));
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), text);
  EXPECT_EQ(ReadBytes(dir / "x.pas"), Repeat(kLineWithoutComment, kLines));
}

// Without hard links the original itself is moved to the backup name; when
// the result then cannot take its place and the original cannot be moved
// back either, the failure says where it lies.
TEST_F(PassTest, AFailedRestoreLeavesTheContentInTheBackupAndSaysWhere) {
  WriteBytes(dir / "x.pas", kSource);
  FaultInjectingFileSystem fs;
  fs.Inject({"Link", 1, Effect::Fail, {FailureReason::NoLinks, 1}});
  fs.Inject({"Replace", 1, Effect::Fail, {FailureReason::DiskFull, 28}});
  fs.Inject({"RenameNoReplace", 2, Effect::Fail, {FailureReason::AccessDenied, 13}});
  const auto failure = Run(kBoth, fs);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, FailureReason::DiskFull);
  EXPECT_FALSE(failure->unchanged);
  EXPECT_EQ(failure->backupPath, dir / "ComOld_x.pas");
  EXPECT_EQ(dir.Names(), (Names{"ComOld_x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), kSource);
}

TEST_F(PassTest, ASecondPassThatFailsKeepsTheFirstPassAndItsBackup) {
  WriteBytes(dir / "x.pas", kSource);
  FaultInjectingFileSystem fs;
  fs.Inject({"CreateWorkFile", 2, Effect::Fail, {FailureReason::AccessDenied, 5}});
  const auto failure = Run(kBoth, fs);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->pass, PassKind::SpaceToTab);
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(dir.Names(), (Names{"ComOld_x.pas", "x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), kSource);
  EXPECT_EQ(ReadBytes(dir / "x.pas"), kWithoutComments);
}

TEST_F(PassTest, EveryBackupNameTakenIsRefused) {
  WriteBytes(dir / "x.pas", kSource);
  FaultInjectingFileSystem fs;
  fs.Inject({"Link", FaultInjectingFileSystem::kEveryCall, Effect::Fail, {FailureReason::NameTaken, 17}});
  const auto failure = CommentDelete(Target(), progress, fs);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, FailureReason::NoFreeBackupName);
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(dir.Names(), (Names{"x.pas"}));
}

#ifdef _WIN32
// ソース and 表 in code page 932: both end in the backslash byte.
#define SOURCE "\x83\x5c\x81\x5b\x83\x58"
#define TABLE "\x95\x5c"

TEST_F(PassTest, ACodePage932PathIsSplitAndTidiedWhole) {
  ASSERT_EQ(GetACP(), 932u) << "the Windows tests run under a Japanese locale";
  MakeDirectory(dir / SOURCE);
  const std::string path = dir / SOURCE "\\" TABLE ".pas";
  WriteBytes(path, kSource);
  const TargetFile target = SplitTarget(path, PlatformPathRules());
  EXPECT_EQ(target.TargetFileName, TABLE ".pas");
  EXPECT_FALSE(RunJunbi(target, kBoth, progress, display));
  EXPECT_EQ(NamesIn(dir / SOURCE "\\"), (Names{"ComOld_" TABLE ".pas", "TabOld_" TABLE ".pas", TABLE ".pas"}));
  EXPECT_EQ(ReadBytes(path), kTidied);
}

TEST_F(PassTest, ASlashSeparatesOnWindows) {
  MakeDirectory(dir / "sub");
  WriteBytes(dir / "sub\\x.pas", kSource);
  std::string path = dir / "sub/x.pas";
  EXPECT_FALSE(RunJunbi(SplitTarget(path, PlatformPathRules()), kBoth, progress, display));
  EXPECT_EQ(NamesIn(dir / "sub\\"), (Names{"ComOld_x.pas", "TabOld_x.pas", "x.pas"}));
}
#endif

// A work file's name may be tried again once its file is gone; a file still
// under it, or the name's use in another folder, must not be taken.
TEST(WorkFile, NeverTakesAFileThatIsThereNorAnotherFoldersName) {
  TempDir dir;
  MakeDirectory(dir / "a");
  MakeDirectory(dir / "b");
  FileSystem& fs = PlatformFileSystem();
  const auto create = [&](const std::string& folder) {
    FileHandle handle = 0;
    std::string path;
    EXPECT_TRUE(fs.CreateWorkFile(folder, handle, path));
    fs.Close(handle);
    EXPECT_EQ(path.substr(0, folder.size()), folder);
    return path;
  };
  const std::string left = create(dir / "a/");
  const std::string gone = create(dir / "a/");
  EXPECT_NE(gone, left);
  ASSERT_TRUE(fs.Remove(gone, ""));
  create(dir / "b/");
}

}  // namespace
}  // namespace kelbrin::test
