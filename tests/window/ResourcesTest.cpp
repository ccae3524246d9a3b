// The resources of kelbrin.exe as built: version record, icon and manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"
#include "Text.h"
#include "resource.h"

namespace kelbrin::test {
namespace {

// kelbrin.exe lies one folder above the tests.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L'\\'));
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring ProgramPath() { return ProgramFolder() + L"kelbrin.exe"; }

class ResourcesTest : public testing::Test {
 protected:
  ResourcesTest() {
    const DWORD size = GetFileVersionInfoSizeW(ProgramPath().c_str(), nullptr);
    version_.resize(size);
    if (size) GetFileVersionInfoW(ProgramPath().c_str(), 0, size, version_.data());
    module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~ResourcesTest() override {
    if (module_) FreeLibrary(module_);
  }

  std::wstring VersionString(const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041103A4\\") + name;
    if (!VerQueryValueW(version_.data(), key.c_str(), &value, &length) || !length) return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
  }

  std::string version_;
  HMODULE module_ = nullptr;
};

TEST_F(ResourcesTest, TheVersionRecordIsJapaneseCodePage932) {
  ASSERT_FALSE(version_.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(version_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000002u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000002u);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(version_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 932);

  EXPECT_EQ(VersionString(L"FileVersion"), L"1.1.0.2");
  EXPECT_EQ(VersionString(L"ProductVersion"), L"1.1.0");
  EXPECT_EQ(VersionString(L"FileDescription"), L"Kelbrin");
  EXPECT_EQ(VersionString(L"ProductName"), L"Kelbrin");
  EXPECT_EQ(VersionString(L"LegalTrademarks"), L"Kelbrin");
  EXPECT_EQ(VersionString(L"CompanyName"), L"Vantorソフトウェア");
  EXPECT_EQ(VersionString(L"LegalCopyright"), L"Copyright (C) 2026 Vantor Software. MIT License.");
}

#pragma pack(push, 2)
struct IconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct IconGroup {
  WORD reserved, type, count;
  IconEntry entries[1];
};
#pragma pack(pop)

TEST_F(ResourcesTest, TheIconIsOne32By32ImageIn16Colours) {
  ASSERT_TRUE(module_);
  const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(IDI_KELBRIN), RT_GROUP_ICON);
  ASSERT_TRUE(found);
  const auto* group = static_cast<const IconGroup*>(LockResource(LoadResource(module_, found)));
  ASSERT_EQ(group->count, 1);
  EXPECT_EQ(group->entries[0].width, 32);
  EXPECT_EQ(group->entries[0].height, 32);
  EXPECT_EQ(group->entries[0].colours, 16);
  EXPECT_EQ(group->entries[0].bitCount, 4);
}

BOOL CALLBACK CountName(HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(ResourcesTest, OneManifestAsksForCommonControls6PerMonitorScalingAndNoElevation) {
  ASSERT_TRUE(module_);
  int manifests = 0;
  EnumResourceNamesW(module_, RT_MANIFEST, CountName, reinterpret_cast<LONG_PTR>(&manifests));
  EXPECT_EQ(manifests, 1);
  const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_TRUE(found);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module_, found))),
                             SizeofResource(module_, found));
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "PerMonitorV2",
                           "true/pm", "level=\"asInvoker\""})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

// UTF-8 with a byte-order mark and Windows line ends: any text viewer on any
// Windows shows the Japanese.
TEST(HelpFile, LiesBesideTheProgramReadableEverywhere) {
  const auto text = ReadBytes(ui::Narrow(ProgramFolder() + L"ReadMe.txt", CP_ACP));
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(text->find("ComOld_x (2).pas"), std::string::npos);
  std::size_t lines = 0;
  for (std::size_t at = text->find('\n'); at != std::string::npos; at = text->find('\n', at + 1), ++lines)
    EXPECT_EQ((*text)[at - 1], '\r') << "line " << lines + 1;
  EXPECT_GT(lines, 50u);
}

}  // namespace
}  // namespace kelbrin::test
