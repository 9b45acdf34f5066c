// Writes every picture the launcher menu uses into an assets folder:
//   img/     24-bit skin and button pictures the menu reads at run time
//   design/  small RLE8 copies compiled into the program, and its icon
//   example/img/  the example disc's skin and buttons, English, and German in de/
//   png/img/  the PNG demo disc's skin and buttons, with alpha
#include <cstdio>
#include <exception>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>

#include "BitmapCheck.h"
#include "Bytes.h"
#include "PngCheck.h"
#include "PngDecode.h"
#include "ReferenceDecoder.h"
#include "art.h"
#include "example.h"
#include "ico.h"
#include "png_demo.h"
#include "quantize.h"

namespace fs = std::filesystem;
using namespace makeassets;

namespace {

void save(const fs::path& path, const Bytes& data) {
  bmpio::WriteFile(path, data);
  std::printf("%8zu  %s\n", data.size(), path.string().c_str());
}

// 24 bits, bottom-up, with the image size filled in as most picture tools write it.
void save_bmp24(const fs::path& path, const Image& image) {
  bmpio::Bitmap bitmap = bmpio::Make24(image.width(), image.height(), image.pixels());
  bitmap.imageSize = static_cast<std::uint32_t>(bitmap.pixels.size());
  save(path, bitmap.Write());
}

// Encodes, then has the menu's header check and the reference decoder read the file back, so that
// a faulty encoder never writes a file.
void save_rle8(const fs::path& path, const Image& image, int colours) {
  const IndexedImage indexed = quantize(image, colours);
  const Bytes file =
      bmpio::MakeRle8(indexed.width, indexed.height, indexed.palette, indexed.pixels).Write();
  const bmpio::Decoded decoded = bmpio::DecodeTrusting(file, true);
  bool same = rt::CheckBitmapFile(std::span<const std::uint8_t>(file)).ok && decoded.ok &&
              decoded.width == indexed.width && decoded.height == indexed.height;
  for (std::size_t i = 0; same && i < indexed.pixels.size(); ++i) {
    same = decoded.pixels[i] == indexed.palette[indexed.pixels[i]];
  }
  if (!same) throw std::runtime_error("RLE8 round trip failed for " + path.string());
  save(path, file);
}

// Encodes, then has the menu's PNG check and the system's decoder read the file back, so that
// only a file that gives exactly these pixels is written.
void save_png(const fs::path& path, const RgbaImage& image) {
  const Bytes file = encode_png(image);
  const std::span<const std::uint8_t> bytes(file);
  const pngio::Decoded decoded =
      rt::CheckPngFile(bytes).ok ? pngio::DecodeWithSystem(bytes) : pngio::Decoded{};
  if (!decoded.ok || decoded.pixels != image.pixels) {
    throw std::runtime_error("PNG round trip failed for " + path.string());
  }
  save(path, file);
}

std::string look_suffix(Look look) { return std::to_string(static_cast<int>(look)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
    return 2;
  }
  try {
    const fs::path root = argv[1];
    const fs::path img = root / "img";
    const fs::path design = root / "design";
    fs::create_directories(img);
    fs::create_directories(design);

    const Image skin = paint_skin();
    check_skin(skin);
    save_bmp24(img / "main.bmp", skin);
    for (Look look : {Look::Pressed, Look::Normal, Look::Hover}) {
      for (int product = 0; product < 4; ++product) {
        const std::string name =
            "bmp" + std::to_string(product + 1) + "-" + look_suffix(look) + ".bmp";
        save_bmp24(img / name, paint_installer_button(skin, product, look));
      }
      save_bmp24(img / ("bmp15-" + look_suffix(look) + ".bmp"), paint_close_button(skin, look));
    }

    const fs::path png = root / "png" / "img";
    fs::create_directories(png);
    save_png(png / "main.png", paint_png_skin());
    for (Look look : {Look::Pressed, Look::Normal, Look::Hover}) {
      for (int product = 0; product < 4; ++product) {
        save_png(png / ("bmp" + std::to_string(product + 1) + "-" + look_suffix(look) + ".png"),
                 paint_png_installer_button(product, look));
      }
      save_png(png / ("bmp15-" + look_suffix(look) + ".png"), paint_png_close_button(look));
    }

    const Image design_skin = paint_design_skin();
    check_skin(design_skin);
    save_rle8(design / "skin.bmp", design_skin, 16);
    for (int product = 0; product < 4; ++product) {
      save_rle8(design / ("button" + std::to_string(product + 1) + ".bmp"),
                paint_installer_button(design_skin, product, Look::Normal), 16);
    }
    save(design / "menu.ico", encode_ico4({paint_icon(32), paint_icon(16)}, icon_palette()));

    const fs::path example = root / "example" / "img";
    fs::create_directories(example / "de");
    for (const bool german : {false, true}) {
      const fs::path folder = german ? example / "de" : example;
      save_bmp24(folder / "skin.bmp", paint_example_skin(german));
      for (Look look : {Look::Pressed, Look::Normal, Look::Hover}) {
        const std::string suffix = "-" + look_suffix(look) + ".bmp";
        for (const ExampleButton& button : kExampleButtons) {
          save_bmp24(folder / (std::string(button.file) + suffix),
                     paint_example_button(button, look, german));
        }
        save_bmp24(folder / ("close" + suffix), paint_example_close(look, german));
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "makeassets: %s\n", e.what());
    return 1;
  }
  return 0;
}
