// Writes the picture corpus into a folder:
//   <case>.bmp     one file a case (cases without a file have none)
//   cases.tsv      name, kind (skin or button), expect (refused or displayed), description
//   expected.tsv   what judges each case:
//                    name  error  <run-time error number>  <words of the reported reason>
//                    name  pixel  <x>  <y>  <rrggbb, or "hole" for a skin's cut-out corner>
//                  with x, y in the picture, counted from its top-left corner
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "Bytes.h"
#include "corpus.h"

namespace fs = std::filesystem;

namespace {

std::string Hex(const bmpio::Rgb& c) {
  char text[8];
  std::snprintf(text, sizeof(text), "%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  try {
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    std::string cases;
    std::string expected;
    std::size_t files = 0;
    for (const corpus::Case& c : corpus::Cases()) {
      cases += c.name + "\t" + std::string(corpus::KindName(c.kind)) + "\t" +
               std::string(corpus::ExpectName(c.expect)) + "\t" + c.description + "\n";
      if (c.expect == corpus::Expect::kRefused) {
        expected += c.name + "\terror\t" + std::to_string(c.error) + "\t" + c.reason + "\n";
      }
      for (const corpus::Sample& s : c.samples) {
        expected += c.name + "\tpixel\t" + std::to_string(s.x) + "\t" + std::to_string(s.y) + "\t" +
                    (s.hole ? std::string("hole") : Hex(s.colour)) + "\n";
      }
      const fs::path file = folder / (c.name + ".bmp");
      fs::remove_all(file);
      if (c.source == corpus::Source::kFile) {
        bmpio::WriteFile(file, c.bytes);
        ++files;
      }
    }
    bmpio::WriteFile(folder / "cases.tsv", bmpio::Bytes(cases.begin(), cases.end()));
    bmpio::WriteFile(folder / "expected.tsv", bmpio::Bytes(expected.begin(), expected.end()));
    std::printf("makecorpus: %zu files written to %s\n", files, folder.string().c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "makecorpus: %s\n", e.what());
    return 1;
  }
}
