// What Windows knows a file by survives a run: its long name spelled as on
// disk, whatever name the user gave, its attributes and its own access
// control list.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "Recorders.h"
#include "RunJunbi.h"
#include "SplitTarget.h"
#include "TestFiles.h"

namespace kelbrin::test {
namespace {

using Names = std::vector<std::string>;

constexpr PassSelection kBoth{true, true, false};
const std::string kSource = "a = b; // note\r\n    x\r\n";

std::optional<PassFailure> Tidy(const std::string& path) {
  RecordingProgress progress;
  RecordingDisplay display;
  return RunJunbi(SplitTarget(path, PlatformPathRules()), kBoth, progress, display);
}

std::string ShortName(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  EXPECT_NE(GetShortPathNameA(path.c_str(), shortPath, MAX_PATH), 0u) << path;
  return shortPath;
}

std::string UpperCase(const std::string& path) {
  std::string upper = path;
  CharUpperA(upper.data());
  return upper;
}

struct NameCase {
  const char* what;
  const char* onDisk;
  std::string (*given)(const std::string& path);  // the path the user gives, from the real one
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.what; }

const NameCase kNames[] = {
    {"its short name", "a long file name.pas", ShortName},
    {"another case", "Mixed.pas", UpperCase},
};

class WindowsNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(WindowsNameTest, TheFileAndItsBackupsKeepTheNameOnDisk) {
  TempDir dir;
  const std::string name = GetParam().onDisk;
  WriteBytes(dir / name, kSource);
  const std::string given = GetParam().given(dir / name);
  ASSERT_NE(SplitTarget(given, PlatformPathRules()).TargetFileName, name);
  EXPECT_FALSE(Tidy(given));
  Names expected{"ComOld_" + name, "TabOld_" + name, name};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir.Names(), expected);
  EXPECT_EQ(ReadBytes(dir / name), "a = b; \r\n\tx\r\n");
}

INSTANTIATE_TEST_SUITE_P(Names, WindowsNameTest, testing::ValuesIn(kNames));

// The access control list as text, with whether it takes in the folder's.
std::string AccessListOf(const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL list = nullptr;
  if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return "none";
  char* text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                       &text, nullptr);
  std::string result = text ? text : "";
  LocalFree(text);
  LocalFree(descriptor);
  return result;
}

TEST(WindowsFileTest, AttributesAndTheFilesOwnAccessListAreKept) {
  TempDir dir;
  const std::string path = dir / "x.pas";
  WriteBytes(path, kSource);
  PSECURITY_DESCRIPTOR own = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;BA)(A;;FR;;;WD)", SDDL_REVISION_1,
                                                                   &own, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL list = nullptr;
  GetSecurityDescriptorDacl(own, &present, &list, &defaulted);
  ASSERT_EQ(SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  list, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));
  LocalFree(own);
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), kKept));
  const std::string accessList = AccessListOf(path);

  EXPECT_FALSE(Tidy(path));
  EXPECT_EQ(dir.Names(), (Names{"ComOld_x.pas", "TabOld_x.pas", "x.pas"}));
  EXPECT_EQ(ReadBytes(path), "a = b; \r\n\tx\r\n");
  for (const char* name : {"x.pas", "ComOld_x.pas", "TabOld_x.pas"}) {
    EXPECT_EQ(GetFileAttributesA((dir / name).c_str()) & kKept, kKept) << name;
    EXPECT_EQ(AccessListOf(dir / name), accessList) << name;
  }
}

}  // namespace
}  // namespace kelbrin::test
