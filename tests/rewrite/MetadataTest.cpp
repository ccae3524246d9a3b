// A rewritten file keeps what its users know it by: permissions with the
// set-user-ID, set-group-ID and sticky bits, owner and group, its access
// control list and extended attributes. Run as root, each case runs once as
// root and once as an ordinary user (nobody) in a folder of that user's.
#include <gtest/gtest.h>

#include <acl/libacl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <functional>

#include "Recorders.h"
#include "RunJunbi.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

struct Metadata {
  mode_t mode;
  uid_t owner;
  gid_t group;
  std::string acl;    // as text, empty where there is none beyond the mode
  std::string xattr;  // the value of user.kelbrin, empty where missing

  bool operator==(const Metadata&) const = default;
};

void PrintTo(const Metadata& m, std::ostream* os) {
  *os << std::oct << m.mode << std::dec << " " << m.owner << ":" << m.group << " acl '" << m.acl << "' xattr '"
      << m.xattr << "'";
}

Metadata MetadataOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  Metadata metadata{info.st_mode & 07777, info.st_uid, info.st_gid, "", ""};
  if (acl_extended_file(path.c_str()) == 1) {
    const acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    char* text = acl_to_text(acl, nullptr);
    metadata.acl = text;
    acl_free(text);
    acl_free(acl);
  }
  char value[64] = {};
  const ssize_t size = getxattr(path.c_str(), "user.kelbrin", value, sizeof value);
  if (size > 0) metadata.xattr.assign(value, static_cast<std::size_t>(size));
  return metadata;
}

struct User {
  uid_t uid;
  gid_t gid;
};

User Nobody() {
  const passwd* user = getpwnam("nobody");
  const group* group = getgrnam("nogroup");
  return {user ? user->pw_uid : 65534, group ? group->gr_gid : 65534};
}

// Runs `work` as `user` in a child process; true when it succeeded there.
bool RunAs(const User& user, const std::function<bool()>& work) {
  const pid_t pid = fork();
  if (pid == 0) {
    bool done = false;
    try {
      done = setgroups(0, nullptr) == 0 && setgid(user.gid) == 0 && setuid(user.uid) == 0 && work();
    } catch (...) {
    }
    _exit(done ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct MetadataCase {
  const char* what;
  mode_t mode;
  const char* acl;  // extra entries, or null
  bool xattr;
  bool ownedByNobody;  // made by root for another user
};

void PrintTo(const MetadataCase& c, std::ostream* os) { *os << c.what; }

const MetadataCase kCases[] = {
    {"private", 0600, nullptr, false, false},
    {"a script", 0755, nullptr, false, false},
    {"group readable", 0640, nullptr, false, true},
    {"set-user-ID and set-group-ID", 06750, nullptr, false, true},
    {"sticky", 01644, nullptr, false, false},
    {"an access control list", 0640, "u:daemon:r,g:daemon:rw", false, false},
    {"an extended attribute", 0644, nullptr, true, false},
    {"all of them", 04710, "u:daemon:rwx", true, true},
};

// Gives `path` the access control list of its mode with the case's entries.
bool SetAcl(const std::string& path, mode_t mode, const char* entries) {
  const acl_t base = acl_from_mode(mode);
  char* baseText = acl_to_any_text(base, nullptr, ',', 0);
  acl_t acl = acl_from_text((std::string(baseText) + "," + entries).c_str());
  acl_free(baseText);
  acl_free(base);
  const bool set = acl && acl_calc_mask(&acl) == 0 && acl_set_file(path.c_str(), ACL_TYPE_ACCESS, acl) == 0;
  if (acl) acl_free(acl);
  return set;
}

class MetadataTest : public testing::TestWithParam<MetadataCase> {
 protected:
  // Makes x.pas as the case says and tidies it with both passes; true when
  // the run succeeded.
  static bool MakeAndTidy(const std::string& folder) {
    const MetadataCase& c = GetParam();
    const std::string path = folder + "x.pas";
    WriteBytes(path, "a = b; // note\r\n    x\r\n");
    if (c.ownedByNobody && geteuid() == 0 && chown(path.c_str(), Nobody().uid, Nobody().gid) != 0) return false;
    if (chmod(path.c_str(), c.mode) != 0) return false;
    if (c.acl && !SetAcl(path, c.mode, c.acl)) return false;
    if (c.xattr && setxattr(path.c_str(), "user.kelbrin", "kept", 4, 0) != 0) return false;
    RecordingProgress progress;
    RecordingDisplay display;
    return !RunJunbi({folder, "x.pas"}, {true, true, false}, progress, display);
  }

  // The comment pass's backup is the original file itself, untouched: the
  // rewritten file and the tab pass's backup must look just like it.
  static void ExpectKept(const std::string& folder) {
    const MetadataCase& c = GetParam();
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"ComOld_x.pas", "TabOld_x.pas", "x.pas"}));
    const Metadata original = MetadataOf(folder + "ComOld_x.pas");
    // An access control list shows its mask as the group's permissions.
    const mode_t groupBits = c.acl ? 070 : 0;
    EXPECT_EQ(original.mode & ~groupBits, c.mode & ~groupBits);
    EXPECT_EQ(original.acl.empty(), c.acl == nullptr);
    EXPECT_EQ(original.xattr, c.xattr ? "kept" : "");
    for (const char* name : {"x.pas", "TabOld_x.pas"}) EXPECT_EQ(MetadataOf(folder + name), original) << name;
    EXPECT_EQ(ReadBytes(folder + "x.pas"), "a = b; \r\n\tx\r\n");
  }

  TempDir dir;
};

TEST_P(MetadataTest, KeptByTheOwnerOfTheProcess) {
  ASSERT_TRUE(MakeAndTidy(dir.Path()));
  ExpectKept(dir.Path());
  if (GetParam().ownedByNobody && geteuid() == 0) {
    EXPECT_EQ(MetadataOf(dir / "x.pas").owner, Nobody().uid);
  }
}

TEST_P(MetadataTest, KeptForAnOrdinaryUserInTheirOwnFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "the case above runs as this ordinary user; as root this one runs as nobody";
  const std::string folder = dir / "nobody/";
  ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  MakeDirectory(folder);
  ASSERT_EQ(chown(folder.c_str(), Nobody().uid, Nobody().gid), 0);
  ASSERT_TRUE(RunAs(Nobody(), [&] { return MakeAndTidy(folder); }));
  EXPECT_EQ(MetadataOf(folder + "x.pas").owner, Nobody().uid);
  ExpectKept(folder);
}

INSTANTIATE_TEST_SUITE_P(Files, MetadataTest, testing::ValuesIn(kCases));

}  // namespace
}  // namespace kelbrin::test
