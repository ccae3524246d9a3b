// The window tests load DLLs as the programs do from their start, from the
// system folder only; so the real open dialog and shell calls among them
// work under the same limit.
#include <gtest/gtest.h>

#include <windows.h>

#include "SafeDllSearch.h"
#include "WindowTesting.h"

namespace kelbrin::test {
namespace {

class AsTheProgramsStart : public testing::Environment {
 public:
  void SetUp() override { LoadDllsFromTheSystemFolderOnly(); }
};
[[maybe_unused]] testing::Environment* const kStart = testing::AddGlobalTestEnvironment(new AsTheProgramsStart);

TEST(SafeDllSearch, AStrayDllBesideTheProgramIsNotLoadedByItsName) {
  const std::string beside = ProgramFolder() + "stray.dll";
  ASSERT_NE(GetFileAttributesA(beside.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(LoadLibraryA("stray.dll"), nullptr);
  // By its full path it loads: it is a good DLL, only not searched for.
  const HMODULE named = LoadLibraryA(beside.c_str());
  EXPECT_NE(named, nullptr);
  if (named) FreeLibrary(named);
}

}  // namespace
}  // namespace kelbrin::test
