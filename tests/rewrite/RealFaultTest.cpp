// Real failures on real file systems, not simulated ones: a small tmpfs that
// fills up in the middle of a pass, and a folder on a read-only mount. Needs
// the right to mount (root); skipped where it is missing.
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CommentRule.h"
#include "Recorders.h"
#include "RuleHarness.h"
#include "RunJunbi.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Names = std::vector<std::string>;

constexpr std::size_t kMountSize = 1024 * 1024;

// A tmpfs of kMountSize bytes on a folder, for the lifetime of the object.
class SmallTmpfs {
 public:
  explicit SmallTmpfs(const std::string& folder) : folder_(folder) {
    MakeDirectory(folder);
    const std::string options = "size=" + std::to_string(kMountSize) + ",mode=0755";
    if (mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) error_ = errno;
  }
  ~SmallTmpfs() {
    if (!error_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  // Why the mount failed, or empty when it worked.
  std::string Refusal() const { return error_ ? std::strerror(error_) : ""; }

  bool RemountReadOnly() const {
    return mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
  }

 private:
  std::string folder_;
  int error_ = 0;
};

class RealFaultTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const std::string refusal = mounted.Refusal(); !refusal.empty())
      GTEST_SKIP() << "cannot mount a tmpfs here (" << refusal << "); run as root to test real full and "
                   << "read-only file systems";
  }

  std::optional<PassFailure> Run(const PassSelection& selection) {
    return RunJunbi({folder, "x.pas"}, selection, progress, display);
  }

  TempDir dir;
  const std::string folder = dir / "mnt/";
  SmallTmpfs mounted{folder};
  RecordingProgress progress;
  RecordingDisplay display;
};

// Lines with one comment among many, so that each pass writes about as much
// as it reads.
std::string TextOfSize(std::size_t size) {
  std::string text = "// header\r\n";
  while (text.size() < size) text += "\tvalue = a / b;\r\n";
  return text;
}

TEST_F(RealFaultTest, AFileSystemThatFillsUpInTheFirstPassLeavesTheFileAsItWas) {
  const std::string text = TextOfSize(kMountSize * 6 / 10);
  WriteBytes(folder + "x.pas", text);
  const auto failure = Run({true, true, false});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->pass, PassKind::CommentDelete);
  EXPECT_EQ(failure->reason, FailureReason::DiskFull);
  EXPECT_EQ(failure->osError, static_cast<std::uint32_t>(ENOSPC));
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(NamesIn(folder), (Names{"x.pas"}));
  EXPECT_EQ(ReadBytes(folder + "x.pas"), text);
}

TEST_F(RealFaultTest, AFileSystemThatFillsUpInTheSecondPassKeepsTheFirstPassAndItsBackup) {
  const std::string text = TextOfSize(kMountSize * 4 / 10);
  WriteBytes(folder + "x.pas", text);
  const auto failure = Run({true, true, false});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->pass, PassKind::SpaceToTab);
  EXPECT_EQ(failure->reason, FailureReason::DiskFull);
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(NamesIn(folder), (Names{"ComOld_x.pas", "x.pas"}));
  EXPECT_EQ(ReadBytes(folder + "ComOld_x.pas"), text);
  EXPECT_EQ(ReadBytes(folder + "x.pas"), ApplyRule(CommentRule(), text));
}

// The pass fails, and must not take the editor's save for its own result.
TEST_F(RealFaultTest, AnEditorsSaveDuringARunThatFillsTheDiskIsKept) {
  WriteBytes(folder + "x.pas", TextOfSize(kMountSize * 6 / 10));
  MeddlingProgress editor([&] {
    WriteBytes(folder + "x.pas~", "saved\r\n");
    ASSERT_EQ(std::rename((folder + "x.pas~").c_str(), (folder + "x.pas").c_str()), 0);
  });
  const auto failure = RunJunbi({folder, "x.pas"}, {true, true, false}, editor, display);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, FailureReason::DiskFull);
  EXPECT_EQ(NamesIn(folder), (Names{"x.pas"}));
  EXPECT_EQ(ReadBytes(folder + "x.pas"), "saved\r\n");
}

TEST_F(RealFaultTest, AReadOnlyFolderIsLeftAsItWas) {
  const std::string text = TextOfSize(1000);
  WriteBytes(folder + "x.pas", text);
  ASSERT_TRUE(mounted.RemountReadOnly()) << std::strerror(errno);
  const auto failure = Run({true, true, false});
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->pass, PassKind::CommentDelete);
  EXPECT_EQ(failure->osError, static_cast<std::uint32_t>(EROFS));
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(NamesIn(folder), (Names{"x.pas"}));
  EXPECT_EQ(ReadBytes(folder + "x.pas"), text);
}

}  // namespace
}  // namespace kelbrin::test
