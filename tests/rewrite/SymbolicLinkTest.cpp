// A target that is a symbolic link: the file it leads to is tidied in place,
// with its backups beside it, and the link is left as it is.
#include <gtest/gtest.h>

#include <unistd.h>

#include "FaultInjectingFileSystem.h"
#include "Recorders.h"
#include "RunJunbi.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Names = std::vector<std::string>;

const std::string kSource = "a = b / c; // note\r\n    x\r\n";
const std::string kTidied = "a = b / c; \r\n\tx\r\n";
constexpr PassSelection kBoth{true, true, false};

void MakeLink(const std::string& leadsTo, const std::string& path) {
  ASSERT_EQ(symlink(leadsTo.c_str(), path.c_str()), 0) << path;
}

std::string LinkText(const std::string& path) {
  char text[4096];
  const ssize_t n = readlink(path.c_str(), text, sizeof text);
  return n < 0 ? "(no link)" : std::string(text, static_cast<std::size_t>(n));
}

class SymbolicLinkTest : public testing::Test {
 protected:
  void SetUp() override {
    MakeDirectory(dir / "real");
    MakeDirectory(dir / "links");
  }

  std::optional<PassFailure> RunOn(const std::string& link, FileSystem& fs = PlatformFileSystem()) {
    return RunJunbi({dir / "links/", link}, kBoth, progress, display, fs);
  }

  TempDir dir;
  RecordingProgress progress;
  RecordingDisplay display;
};

// Where the link leads; an empty text means the file's absolute path.
struct LinkCase {
  const char* what;
  const char* leadsTo;
};

const LinkCase kLinks[] = {
    {"absolute link", ""},
    {"relative link", "../real/x.pas"},
    {"link to a link", "chained.pas"},
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.what; }

class LinkToFileTest : public SymbolicLinkTest, public testing::WithParamInterface<LinkCase> {};

TEST_P(LinkToFileTest, TidiesTheFileTheLinkLeadsToAndKeepsTheLink) {
  const std::string leadsTo = *GetParam().leadsTo ? GetParam().leadsTo : dir / "real/x.pas";
  WriteBytes(dir / "real/x.pas", kSource);
  MakeLink("../real/x.pas", dir / "links/chained.pas");
  MakeLink(leadsTo, dir / "links/l.pas");

  EXPECT_FALSE(RunOn("l.pas"));
  EXPECT_EQ(ReadBytes(dir / "real/x.pas"), kTidied);
  EXPECT_EQ(NamesIn(dir / "real/"), (Names{"ComOld_x.pas", "TabOld_x.pas", "x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "real/ComOld_x.pas"), kSource);
  EXPECT_EQ(LinkText(dir / "links/l.pas"), leadsTo);
  EXPECT_EQ(NamesIn(dir / "links/"), (Names{"chained.pas", "l.pas"}));
}

INSTANTIATE_TEST_SUITE_P(Links, LinkToFileTest, testing::ValuesIn(kLinks));

TEST_F(SymbolicLinkTest, RefusesALinkThatLeadsToNoFileAndTouchesNothing) {
  MakeDirectory(dir / "real/folder");
  MakeLink("../real/missing.pas", dir / "links/dangling.pas");
  MakeLink("../real/folder", dir / "links/folder");
  MakeLink("loop.pas", dir / "links/loop.pas");
  const struct {
    const char* link;
    FailureReason reason;
  } cases[] = {
      {"dangling.pas", FailureReason::NotFound},
      {"folder", FailureReason::IsDirectory},
      {"loop.pas", FailureReason::Other},
  };
  for (const auto& c : cases) {
    const auto failure = RunOn(c.link);
    ASSERT_TRUE(failure) << c.link;
    EXPECT_EQ(failure->reason, c.reason) << c.link;
    EXPECT_TRUE(failure->unchanged);
  }
  EXPECT_EQ(NamesIn(dir / "links/"), (Names{"dangling.pas", "folder", "loop.pas"}));
  EXPECT_EQ(NamesIn(dir / "real/"), (Names{"folder"}));
  EXPECT_EQ(LinkText(dir / "links/folder"), "../real/folder");
}

TEST_F(SymbolicLinkTest, AFailureNamesTheLinkAndPutsTheFileBehindItBack) {
  WriteBytes(dir / "real/x.pas", kSource);
  MakeLink("../real/x.pas", dir / "links/l.pas");
  FaultInjectingFileSystem fs;
  fs.Inject({"Write", 1, FaultInjectingFileSystem::Effect::Fail, {FailureReason::DiskFull, 28}});
  const auto failure = RunOn("l.pas", fs);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->path, dir / "links/l.pas");
  EXPECT_TRUE(failure->unchanged);
  EXPECT_EQ(NamesIn(dir / "real/"), (Names{"x.pas"}));
  EXPECT_EQ(ReadBytes(dir / "real/x.pas"), kSource);
  EXPECT_EQ(LinkText(dir / "links/l.pas"), "../real/x.pas");
}

}  // namespace
}  // namespace kelbrin::test
