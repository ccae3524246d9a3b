// Files and names chosen to break things: every byte value, NUL bytes, lone
// line ends, a file past 2 GiB, a name too long to take a backup prefix, and
// on POSIX pipes, devices and sockets. None may lose a byte.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "CommentRule.h"
#include "Recorders.h"
#include "RuleHarness.h"
#include "RunJunbi.h"
#include "TabRule.h"
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

TEST_F(HostileInputTest, EveryByteValueNextToEveryByteTheRulesLookAtComesThroughAsTheRulesSay) {
  std::string text;
  for (int b = 0; b < 256; ++b)
    for (char neighbour : std::string("/ \t\r\n\0", 6)) text += {static_cast<char>(b), neighbour, static_cast<char>(b)};
  WriteBytes(dir / "x.pas", text);
  ASSERT_FALSE(Run("x.pas"));
  const std::string withoutComments = ApplyRule(CommentRule(), text);
  EXPECT_EQ(ReadBytes(dir / "ComOld_x.pas"), text);
  EXPECT_EQ(ReadBytes(dir / "TabOld_x.pas"), withoutComments);
  EXPECT_EQ(ReadBytes(dir / "x.pas"), ApplyRule(TabRule(true), withoutComments));
}

TEST_F(HostileInputTest, TinyFilesAreTidiedExactly) {
  const struct {
    const char* what;
    std::string input;
    std::string tidied;
  } cases[] = {
      {"a NUL byte", std::string(1, '\0'), std::string(1, '\0')},
      {"NUL bytes around a comment", std::string("\0//\0\r\0", 6), std::string("\0\r\0", 3)},
      {"a lone CR", "\r", "\r"},
      {"a lone LF", "\n", "\n"},
      {"a lone slash", "/", "/"},
      {"two slashes alone", "//", ""},
      {"a lone blank", " ", " "},
      {"three blanks alone", "   ", "\t"},
      {"a lone tab", "\t", "\t"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "tiny" + std::to_string(++n);
    WriteBytes(dir / name, c.input);
    ASSERT_FALSE(Run(name));
    EXPECT_EQ(ReadBytes(dir / name), c.tidied);
    EXPECT_EQ(ReadBytes(dir / ("ComOld_" + name)), c.input);
  }
}

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

TEST_F(HostileInputTest, APathLongerThanTheSystemTakesIsRefusedAsTooLong) {
  std::string path = dir.Path();
  while (path.size() < 5000) path += std::string(100, 'd') + kSeparator;
  const auto failure = RunJunbi({path, "x.pas"}, kBothThree, progress, display);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->reason, FailureReason::NameTooLong);
  EXPECT_TRUE(failure->unchanged);
  EXPECT_TRUE(dir.Names().empty());
}

// Past 2 GiB, where sizes and counts no longer fit 32 bits. The file is all
// hole but for its last bytes, which straddle the 2 GiB mark; one pass reads
// every byte of it and writes it out.
TEST_F(HostileInputTest, AFileLargerThan2GiBIsTidiedToItsLastByte) {
#ifdef KELBRIN_SANITIZED
  GTEST_SKIP() << "too slow under the sanitizers; the plain native and the Windows builds run it";
#endif
  constexpr std::int64_t kSize = (std::int64_t{1} << 31) + 1;
  constexpr std::int64_t kRoom = kSize + (std::int64_t{64} << 20);
  const std::int64_t free = FreeSpace(dir.Path());
  if (free < kRoom) GTEST_SKIP() << "needs " << kRoom << " bytes free beside the temporary folder, has " << free;

  const std::string tail = "    x";
  WriteBytesAt(dir / "x.pas", kSize - static_cast<std::int64_t>(tail.size()), tail);
  ASSERT_EQ(FileSize(dir / "x.pas"), kSize);
  ASSERT_FALSE(Run("x.pas", {false, true, false}));

  const std::int64_t tidiedSize = kSize - 3;
  EXPECT_EQ(FileSize(dir / "x.pas"), tidiedSize);
  EXPECT_EQ(ReadBytesAt(dir / "x.pas", tidiedSize - 3, 3), std::string("\0\tx", 3));
  EXPECT_EQ(FileSize(dir / "TabOld_x.pas"), kSize);
  EXPECT_EQ(progress.Values('x'), (std::vector<std::int64_t>{kSize}));
  const auto positions = progress.Values('p');
  ASSERT_GE(positions.size(), 2u);
  EXPECT_EQ(positions[positions.size() - 2], kSize);
}

#ifndef _WIN32
// Opening a FIFO to read it would wait for a writer; a device or a socket is
// no file to rewrite. All are refused before anything is moved or opened.
TEST_F(HostileInputTest, FifosDevicesAndSocketsAreRefusedAndNothingIsTouched) {
  ASSERT_EQ(mkfifo((dir / "pipe.pas").c_str(), 0644), 0);
  ASSERT_EQ(symlink("pipe.pas", (dir / "link-to-pipe.pas").c_str()), 0);
  Names names = {"link-to-pipe.pas", "pipe.pas"};
  // The same device as /dev/null, made here so that nothing outside the
  // test folder is ever at stake.
  if (mknod((dir / "null.pas").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) names.push_back("null.pas");
  const int unixSocket = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = dir / "socket.pas";
  if (socketPath.size() < sizeof address.sun_path) {
    socketPath.copy(address.sun_path, socketPath.size());
    if (bind(unixSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) names.push_back("socket.pas");
  }
  close(unixSocket);
  std::sort(names.begin(), names.end());

  for (const std::string& name : names) {
    const auto failure = Run(name);
    ASSERT_TRUE(failure) << name;
    EXPECT_EQ(failure->reason, FailureReason::NotRegularFile) << name;
    EXPECT_TRUE(failure->unchanged) << name;
  }
  EXPECT_EQ(dir.Names(), names);
}
#endif

}  // namespace
}  // namespace kelbrin::test
