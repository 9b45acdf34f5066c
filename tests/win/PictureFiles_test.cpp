// Under Windows: a picture file is decoded again exactly when the file changed since its last
// load, by what the file system says of the open file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BmpWriter.h"
#include "RunTimeError.h"
#include "Win32Platform.h"

namespace {

class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    path_ =
        std::wstring(folder) + L"menu-picture-" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
  }
  void TearDown() override { DeleteFileW(path_.c_str()); }

  void Write(int width, std::uint8_t red) {
    const std::vector<bmpio::Rgb> colours(static_cast<std::size_t>(width) * 4, {red, 0, 0});
    const bmpio::Bytes bytes = bmpio::Write24(width, 4, colours);
    std::ofstream out(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  // Moves the file's last-write time on by a day, as a later write of the same size would.
  void Touch() {
    HANDLE file = CreateFileW(path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    ULARGE_INTEGER time{{written.dwLowDateTime, written.dwHighDateTime}};
    time.QuadPart += 864000000000ull;
    written = {time.LowPart, time.HighPart};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
  }

  std::uint32_t FirstPixel(const rt::Picture& picture) {
    std::uint32_t pixel = 0;
    picture.Data()->ReadPixels({0, 0, 1, 1}, &pixel);
    return pixel;
  }

  rt::win32::Win32Platform platform_{GetModuleHandleW(nullptr)};
  std::wstring path_;
};

TEST_F(PictureFiles, OnlyAChangedFileIsDecodedAgain) {
  Write(4, 10);
  const rt::Picture first = platform_.LoadPicture(path_);
  EXPECT_EQ(platform_.LoadPicture(path_).Data(), first.Data());

  Write(5, 20);  // another size
  const rt::Picture resized = platform_.LoadPicture(path_);
  EXPECT_NE(resized.Data(), first.Data());
  EXPECT_EQ(resized.Width(), 5);
  EXPECT_EQ(FirstPixel(resized), 20u);

  Write(5, 30);  // the same size, written later
  Touch();
  const rt::Picture rewritten = platform_.LoadPicture(path_);
  EXPECT_NE(rewritten.Data(), resized.Data());
  EXPECT_EQ(FirstPixel(rewritten), 30u);
}

TEST_F(PictureFiles, AFileDeletedSinceItsLastLoadIsMissing) {
  Write(4, 10);
  platform_.LoadPicture(path_);
  ASSERT_TRUE(DeleteFileW(path_.c_str()));
  try {
    platform_.LoadPicture(path_);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), rt::kErrFileNotFound);
    EXPECT_EQ(error.Subject(), path_);
  }
}

// Looking for a file without opening it says what opening it would say: only nothing there is
// missing, while a folder, which cannot be opened as a file, is not.
TEST_F(PictureFiles, LookingForAFileAgreesWithOpeningIt) {
  Write(4, 10);
  wchar_t temp[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder(temp);
  for (const std::wstring& path : {path_, path_ + L".none", folder + L"no-such-folder\\main.png",
                                   folder.substr(0, folder.size() - 1)}) {
    rt::OpenFailure failure;
    const bool opened = platform_.OpenFile(path, failure) != nullptr;
    EXPECT_EQ(platform_.IsMissing(path), !opened && failure.missing)
        << std::string(path.begin(), path.end());
  }
  EXPECT_FALSE(platform_.IsMissing(path_));
  EXPECT_TRUE(platform_.IsMissing(path_ + L".none"));
}

}  // namespace
