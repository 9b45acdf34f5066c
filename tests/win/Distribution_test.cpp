// Under Windows: the distribution folder holds what a disc needs, menu.exe carries its icon,
// version, manifest and design-time pictures as resources, and its headers suit removable media.
#include <windows.h>

#include <imagehlp.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "menu_version.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDist = fs::u8path(MENU_DIST_DIR);

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// menu.exe loaded as data: its resources can be read, none of its code runs.
class MenuResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW((kDist / L"menu.exe").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "menu.exe could not be opened, error " << GetLastError();
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  // The bytes of one resource, empty when it is missing.
  std::vector<std::uint8_t> Resource(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(MenuResources, TheIconHas32And16PixelImagesOf16Colours) {
  const std::vector<std::uint8_t> group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_MENU));
  ASSERT_GE(group.size(), 6u);
  WORD count = 0;
  std::memcpy(&count, group.data() + 4, sizeof count);
  ASSERT_EQ(count, 2);
  ASSERT_EQ(group.size(), 6 + count * sizeof(IconGroupEntry));
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    IconGroupEntry entry{};
    std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    sizes.push_back(entry.width);
    EXPECT_EQ(entry.width, entry.height);
    EXPECT_EQ(entry.bitCount, 4) << "16 colours";
    // The image itself is a DIB of the same size and depth (its height counts the mask too).
    const std::vector<std::uint8_t> image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id));
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header{};
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biWidth, entry.width);
    EXPECT_EQ(header.biHeight, 2 * entry.width);
    EXPECT_EQ(header.biBitCount, 4);
  }
  EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
  // The system can make an icon of each size from it.
  for (int size : {32, 16}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(module_, MAKEINTRESOURCEW(IDI_MENU), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon != nullptr) DestroyIcon(icon);
  }
}

TEST_F(MenuResources, TheVersionIsTheProjectsVersion) {
  std::vector<std::uint8_t> block = Resource(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO));
  ASSERT_FALSE(block.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), MENU_VERSION_MAJOR);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), MENU_VERSION_MINOR);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), MENU_VERSION_PATCH);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT chars = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars)) {
      return std::wstring(L"(none)");
    }
    return std::wstring(value);
  };
  const std::string version = MENU_VERSION_TEXT;
  EXPECT_EQ(text(L"ProductVersion"), std::wstring(version.begin(), version.end()));
  EXPECT_EQ(text(L"FileVersion"), std::wstring(version.begin(), version.end()));
  const std::string product = MENU_PRODUCT_NAME;
  EXPECT_EQ(text(L"ProductName"), std::wstring(product.begin(), product.end()));
  EXPECT_EQ(text(L"OriginalFilename"), L"menu.exe");
}

TEST_F(MenuResources, TheManifestAsksForNoElevationAndNamesVistaTo11) {
  const std::vector<std::uint8_t> bytes = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
  const std::string manifest(bytes.begin(), bytes.end());
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find(R"(level="asInvoker")"), std::string::npos);
  EXPECT_NE(manifest.find(R"(uiAccess="false")"), std::string::npos);
  for (const char* os :
       {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
        "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
        "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
    EXPECT_NE(manifest.find(os), std::string::npos) << os;
  }
  const std::string identity = std::string(R"(version=")") + MENU_VERSION_TEXT + ".0";
  EXPECT_NE(manifest.find(identity), std::string::npos);
  // Common controls are not used, so the manifest does not pull them in.
  EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

TEST_F(MenuResources, TheDesignTimePicturesAreBitmaps) {
  for (int id : {IDB_SKIN, IDB_BUTTON1, IDB_BUTTON2, IDB_BUTTON3, IDB_BUTTON4}) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr) << id;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    if (id == IDB_SKIN) {
      EXPECT_EQ(info.bmWidth, 800);
      EXPECT_EQ(info.bmHeight, 600);
    } else {
      EXPECT_EQ(info.bmWidth, 113);
      EXPECT_EQ(info.bmHeight, 122);
    }
    DeleteObject(bitmap);
  }
}

TEST(DistributionFolder, HoldsTheProgramPicturesInstallersAndDiscFiles) {
  std::vector<fs::path> expected = {L"menu.exe", L"autorun.inf", L"menu.ini", L"README.txt",
                                    L"img/main.bmp"};
  for (const wchar_t* series : {L"bmp1", L"bmp2", L"bmp3", L"bmp4", L"bmp15"}) {
    for (const wchar_t* suffix : {L"-1.bmp", L"-2.bmp", L"-3.bmp"}) {
      expected.push_back(fs::path(L"img") / (std::wstring(series) + suffix));
    }
  }
  for (const wchar_t* name :
       {L"TEV_setup.exe", L"MOLAN_setup.exe", L"PIRUK_setup.exe", L"DASEF_setup.exe"}) {
    expected.push_back(fs::path(L"ZENT") / name);
  }
  for (const fs::path& file : expected) {
    EXPECT_TRUE(fs::is_regular_file(kDist / file)) << file.string();
  }
  // Nothing else: what is in the folder goes onto every disc.
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kDist)) {
    if (entry.is_regular_file()) ++files;
  }
  EXPECT_EQ(files, expected.size());
}

TEST(DistributionFolder, MenuExeFitsIn256Kilobytes) {
  const std::uintmax_t bytes = fs::file_size(kDist / L"menu.exe");
  EXPECT_LE(bytes, 256u * 1024u) << "menu.exe is " << bytes << " bytes";
}

TEST(DistributionFolder, AutorunOpensTheMenuAndGivesTheDriveItsIcon) {
  const std::string text = ReadText(kDist / L"autorun.inf");
  EXPECT_EQ(text.rfind("[autorun]\r\n", 0), 0u) << "the section comes first, lines end in CR LF";
  EXPECT_NE(text.find("\r\nopen=menu.exe\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nicon=menu.exe,0\r\n"), std::string::npos);
  // The system reads it with the profile functions, the way Explorer does.
  const std::wstring path = (kDist / L"autorun.inf").wstring();
  wchar_t value[MAX_PATH] = {};
  GetPrivateProfileStringW(L"autorun", L"open", L"", value, MAX_PATH, path.c_str());
  EXPECT_STREQ(value, L"menu.exe");
  GetPrivateProfileStringW(L"autorun", L"icon", L"", value, MAX_PATH, path.c_str());
  EXPECT_STREQ(value, L"menu.exe,0");
}

TEST(DistributionFolder, AutorunNamesTheDriveAndTheAutoPlayTaskAfterTheProduct) {
  const std::wstring path = (kDist / L"autorun.inf").wstring();
  const std::string product = std::string(MENU_PRODUCT_NAME) + " " + MENU_VERSION_TEXT;
  const std::wstring expected(product.begin(), product.end());
  wchar_t value[MAX_PATH] = {};
  GetPrivateProfileStringW(L"autorun", L"label", L"", value, MAX_PATH, path.c_str());
  EXPECT_EQ(std::wstring(value), expected);
  GetPrivateProfileStringW(L"autorun", L"action", L"", value, MAX_PATH, path.c_str());
  EXPECT_EQ(std::wstring(value), L"Open " + expected);
}

// Read back as the system reads them: flags that make Windows run the program from the page file
// when it starts from a disc or a share, a checksum CheckSumMappedFile agrees with, no link time
// stamp, and resources dated from the commit.
TEST(DistributionFolder, MenuExeRunsFromThePageFileOnRemovableMediaAndItsChecksumHolds) {
  const fs::path exe = kDist / L"menu.exe";
  std::string bytes = ReadText(exe);
  auto* nt = ImageNtHeader(bytes.data());
  ASSERT_NE(nt, nullptr);
#ifdef _WIN64  // the 64-bit build, for machines that cannot run the 32-bit one under Wine
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
#endif
  EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP, 0);
  EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_NET_RUN_FROM_SWAP, 0);
  EXPECT_NE(nt->OptionalHeader.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE,
            0);
  EXPECT_EQ(nt->FileHeader.TimeDateStamp, 0u);

  DWORD inHeader = 0;
  DWORD computed = 0;
  ASSERT_EQ(MapFileAndCheckSumW(exe.c_str(), &inHeader, &computed),
            static_cast<DWORD>(CHECKSUM_SUCCESS));
  EXPECT_NE(computed, 0u);
  EXPECT_EQ(inHeader, computed);

  const IMAGE_DATA_DIRECTORY& resources =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
  ASSERT_NE(resources.VirtualAddress, 0u);
  const auto* root = static_cast<const IMAGE_RESOURCE_DIRECTORY*>(
      ImageRvaToVa(nt, bytes.data(), resources.VirtualAddress, nullptr));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->TimeDateStamp, static_cast<DWORD>(MENU_SOURCE_DATE_EPOCH));
}

TEST(DistributionFolder, TheNotesNameEveryPictureAndInstaller) {
  const std::string text = ReadText(kDist / L"README.txt");
  for (const char* name :
       {"main.bmp", "bmp1-2.bmp", "bmp4-1.bmp", "bmp15-3.bmp", "TEV_setup.exe", "MOLAN_setup.exe",
        "PIRUK_setup.exe", "DASEF_setup.exe", "800 x 600", "113 x 122", "80 x 28"}) {
    EXPECT_NE(text.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "lines end in CR LF for Notepad";
}

}  // namespace
