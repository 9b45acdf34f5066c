// Writes the picture corpus into a folder:
//   <case>.bmp     one file a case (cases without a file have none)
//   <case>.png     one file a PNG case
//   cases.tsv      name, kind (skin or button), expect (refused or displayed), description
//   expected.tsv   what judges each case:
//                    name  error  <run-time error number>  <words of the reported reason>
//                    name  pixel  <x>  <y>  <rrggbb, or "hole" for a skin's cut-out corner>
//                  with x, y in the picture, counted from its top-left corner
//   png-cases.tsv, png-expected.tsv   the same for the PNG cases, whose holes are their pixels
//                  of alpha 0; a tolerated case has both: the error it is reported with where the
//                  decoder refuses it, the pixels it shows where the decoder reads it
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "Bytes.h"
#include "corpus.h"

namespace fs = std::filesystem;

namespace {

std::string Hex(const bmpio::Rgb& c) {
  char text[8];
  std::snprintf(text, sizeof(text), "%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

// Writes the files of `cases` and their two tables, "<prefix>cases.tsv" and
// "<prefix>expected.tsv"; returns the number of files.
std::size_t WriteCases(const fs::path& folder, const std::vector<corpus::Case>& list,
                       const std::string& prefix) {
  std::string cases;
  std::string expected;
  std::size_t files = 0;
  for (const corpus::Case& c : list) {
    cases += c.name + "\t" + std::string(corpus::KindName(c.kind)) + "\t" +
             std::string(corpus::ExpectName(c.expect)) + "\t" + c.description + "\n";
    if (c.error != 0) {
      expected += c.name + "\terror\t" + std::to_string(c.error) + "\t" + c.reason + "\n";
    }
    for (const corpus::Sample& s : c.samples) {
      expected += c.name + "\tpixel\t" + std::to_string(s.x) + "\t" + std::to_string(s.y) + "\t" +
                  (s.hole ? std::string("hole") : Hex(s.colour)) + "\n";
    }
    const fs::path file = folder / (c.name + std::string(corpus::Extension(c.format)));
    fs::remove_all(file);
    if (c.source == corpus::Source::kFile) {
      bmpio::WriteFile(file, c.bytes);
      ++files;
    }
  }
  bmpio::WriteFile(folder / (prefix + "cases.tsv"), bmpio::Bytes(cases.begin(), cases.end()));
  bmpio::WriteFile(folder / (prefix + "expected.tsv"),
                   bmpio::Bytes(expected.begin(), expected.end()));
  return files;
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
    const std::size_t files =
        WriteCases(folder, corpus::Cases(), "") + WriteCases(folder, corpus::PngCases(), "png-");
    std::printf("makecorpus: %zu files written to %s\n", files, folder.string().c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "makecorpus: %s\n", e.what());
    return 1;
  }
}
