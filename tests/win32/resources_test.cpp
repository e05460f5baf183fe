// The Windows programs as Explorer, the taskbar and "installed programs" see
// them: the icon and the version information read back from the built
// executables, and the icon the window puts in its caption.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/program_icon.h"
#include "tests/win32/form_fixture.h"

namespace velquior::win32 {
namespace {

// An icon group's directory, as stored in RT_GROUP_ICON.
#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::vector<int> IconGroupSizes(HMODULE module) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kProgramIconId), RT_GROUP_ICON);
  if (found == nullptr) return {};
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  const DWORD size = SizeofResource(module, found);
  if (data == nullptr || size < 6) return {};
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  std::vector<int> sizes;
  for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= size; ++i) {
    const auto* e = reinterpret_cast<const GroupEntry*>(data + 6 + i * sizeof(GroupEntry));
    sizes.push_back(e->width == 0 ? 256 : e->width);
  }
  return sizes;
}

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* key) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\0C0A04B0\\") + key;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const wchar_t*>(value);
}

struct Program {
  const char* path;
  const wchar_t* file_name;
};

TEST(ProgramResources, IconAndVersionOfEachProgram) {
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(VELQUIOR_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
  const std::wstring version = Wide(VELQUIOR_VERSION);
  for (const Program& program : {Program{VELQUIOR_WINDOW_EXE, L"velquior.exe"},
                                 Program{VELQUIOR_CONVERT_EXE, L"velquior-convert.exe"}}) {
    SCOPED_TRACE(program.path);
    const std::wstring path = Wide(program.path);
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(IconGroupSizes(module), (std::vector<int>{16, 24, 32, 48, 64, 256}));
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);
    FreeLibrary(module);

    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(minor, major)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, patch)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0C0A);
    EXPECT_EQ(translation[1], 1200);
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Velquior");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), version);
    EXPECT_EQ(VersionString(info, L"FileVersion"), version);
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), program.file_name);
    EXPECT_FALSE(VersionString(info, L"CompanyName").empty());
    // Accented texts arrive as written, not as their UTF-8 bytes.
    EXPECT_NE(VersionString(info, L"FileDescription").find(L"conversi\u00F3n"), std::wstring::npos);
    EXPECT_EQ(VersionString(info, L"LegalCopyright").rfind(L"\u00A9 ", 0), 0u);
  }
}

class ProgramIconTest : public FormFixture {};

int IconWidth(HWND window, WPARAM which) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
  if (icon == nullptr) return 0;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// Drawn at the size of each scale, also after a move to another monitor.
TEST_F(ProgramIconTest, CaptionIconFitsTheDpi) {
  MainForm& form = Open({}, 96);
  EXPECT_EQ(IconWidth(form.Hwnd(), ICON_SMALL), 16);
  EXPECT_EQ(IconWidth(form.Hwnd(), ICON_BIG), 32);
  RECT suggested{10, 20, 10 + 960, 20 + 440};
  SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(IconWidth(form.Hwnd(), ICON_SMALL), 24);
  EXPECT_EQ(IconWidth(form.Hwnd(), ICON_BIG), 48);
}

}  // namespace
}  // namespace velquior::win32
