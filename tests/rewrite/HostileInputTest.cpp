// Files and names chosen to break things. None may lose a byte.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "Recorders.h"
#include "RunJunbi.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Names = std::vector<std::string>;

constexpr PassSelection kBothThree{true, true, true};

class HostileInputTest : public testing::Test {
 protected:
  std::optional<PassFailure> Run(const std::string& name, PassSelection selection = kBothThree) {
    return RunJunbi({dir.Path(), name}, selection, progress, display);
  }

  TempDir dir;
  RecordingProgress progress;
  RecordingDisplay display;
};

// The name alone fits, the prefix and the name do not: on POSIX a name is
// limited to 255 bytes, on Windows the whole path to 259 characters.
std::string NameTooLongForABackup(const std::string& dir) {
#ifdef _WIN32
  const std::size_t length = MAX_PATH - 1 - dir.size() - 3;
#else
  const std::size_t length = static_cast<std::size_t>(pathconf(dir.c_str(), _PC_NAME_MAX)) - 3;
#endif
  return std::string(length - 4, 'n') + ".pas";
}

TEST_F(HostileInputTest, ANameTooLongToTakeABackupPrefixLeavesTheFileAloneAndSaysWhy) {
  const std::string name = NameTooLongForABackup(dir.Path());
  const std::string text = "x = 1; // one\r\n";
  WriteBytes(dir / name, text);
  const auto failure = Run(name);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, FailureReason::NameTooLong);
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(dir.Names(), (Names{name}));
  EXPECT_EQ(ReadBytes(dir / name), text);
}

}  // namespace
}  // namespace kelbrin::test
