// Under Windows: a PNG file read through the platform's picture loading becomes a 32-bit picture
// with alpha, decoded by the imaging component; a refused one, or one the component cannot
// decode, gives the picture error naming the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PngWriter.h"
#include "RunTimeError.h"
#include "Win32Platform.h"

namespace {

pngio::Image Gradient() {
  pngio::Image image;
  image.width = 17;
  image.height = 9;
  image.colourType = 6;
  image.bitDepth = 8;
  image.interlaced = true;
  for (std::uint32_t i = 0; i < 17 * 9; ++i) {
    image.samples.insert(
        image.samples.end(),
        {static_cast<std::uint16_t>(i % 256), static_cast<std::uint16_t>(i * 7 % 256),
         static_cast<std::uint16_t>(255 - i % 256), static_cast<std::uint16_t>(i * 13 % 256)});
  }
  return image;
}

class PngFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    path_ = std::wstring(folder) + L"menu-png-" + std::to_wstring(GetCurrentProcessId()) + L".png";
  }
  void TearDown() override { DeleteFileW(path_.c_str()); }
  void Write(const pngio::Bytes& bytes) { bmpio::WriteFile(std::filesystem::path(path_), bytes); }

  std::wstring Error() {
    try {
      platform_.LoadPicture(path_);
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(error.Number(), rt::kErrInvalidPicture);
      EXPECT_EQ(error.Subject(), path_);
      return rt::FormatErrorReport(error);
    }
    ADD_FAILURE() << "no error raised";
    return {};
  }

  rt::win32::Win32Platform platform_{GetModuleHandleW(nullptr)};
  std::wstring path_;
};

TEST_F(PngFiles, DecodedWithColoursAndAlpha) {
  const pngio::Image image = Gradient();
  Write(pngio::Write(image, 50));
  const rt::Picture picture = platform_.LoadPicture(path_);
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture.Width(), 17);
  ASSERT_EQ(picture.Height(), 9);
  EXPECT_EQ(pngio::PixelsDiffering(*picture.Data(), pngio::ExpectedPixels(image)), 0u);
}

TEST_F(PngFiles, RefusedByTheCheckOrTheDecoderWithTheFileNamed) {
  const pngio::Image image = Gradient();
  pngio::Bytes bytes = pngio::Write(image);
  bytes[50] ^= 0x01;  // inside the IDAT chunk's data
  Write(bytes);
  EXPECT_NE(Error().find(L"The IDAT chunk's CRC is wrong."), std::wstring::npos);

  pngio::Bytes stream = pngio::StoredZlib(pngio::FilteredRows(image));
  stream.resize(stream.size() / 2);
  Write(pngio::Layout(image, 8192, &stream).Write());
  EXPECT_NE(Error().find(L"The system could not decode it."), std::wstring::npos);
}

}  // namespace
