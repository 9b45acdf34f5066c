// The menu's picture files at the window's display scale: where the medium holds pictures drawn
// for a scale ("img\main.scale-200.bmp", the qualifiers Windows names: 125, 150, 200, 250, 300,
// 400), the one for the nearest qualifier at or above the scale, else the largest below, else
// the plain file; scaled by the program to the scale where the file is not drawn for it exactly.
// At every scale a PNG file of the same name ("img\main.scale-200.png", "img\main.png") serves
// before the bitmap where the medium holds both.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "Platform.h"
#include "Scale.h"

namespace menu {

// The scales, in percent, that picture files may be drawn for.
inline constexpr std::array<int, 6> kScaleQualifiers = {125, 150, 200, 250, 300, 400};

// The qualifiers in the order they are tried at `dpi` above the design's: the nearest at or above
// its scale, then those below it, largest first. The first whose file is not missing serves.
std::vector<int> QualifierOrder(int dpi);

// What a picture drawn for `drawnPercent` (100: the plain file) is scaled by at `dpi`, as
// numerator / denominator: 1 / 1 for a file drawn for exactly that scale.
struct ScaleFactor {
  int numerator = 1;
  int denominator = 1;
};
ScaleFactor ScaleFactorFor(int drawnPercent, int dpi);

class ScaledPictures {
 public:
  explicit ScaledPictures(rt::Platform& platform) : platform_(&platform) {}

  // Which files serve is found again for the new scale.
  void SetDpi(int dpi);

  // The picture of the plain file `path` at the current scale; at 96 DPI the file itself (or its
  // PNG file), read as the platform reads every picture. A file chosen for the scale that is
  // missing or broken raises the same run-time error as any other picture; where neither file is
  // there, the error names `path`.
  rt::Picture Load(const std::wstring& path);

  // As Load, but a picture with alpha comes drawn over `under` with its top-left corner at (x, y),
  // made once for each picture, place and picture under it.
  rt::Picture LoadOver(const std::wstring& path, const rt::Picture& under, int x, int y);

 private:
  struct Source {
    std::wstring path;
    int percent = 100;  // the scale the file is drawn for
  };
  struct Made {
    rt::Picture from;  // the decoded file, kept so that its identity stays valid
    int numerator = 1;
    int denominator = 1;
    rt::Picture scaled;
  };

  // Whether the medium holds `path`. A file that is there but cannot be read is still the one the
  // disc means: its load reports it. Only a missing one lets another file serve.
  bool Holds(const std::wstring& path);
  const Source& SourceOf(const std::wstring& path);

  rt::Platform* platform_;
  int dpi_ = rt::kDesignDpi;
  std::map<std::wstring, Source> sources_;
  // The picture last scaled from each file: made once per file and scale, not on every load.
  std::map<std::wstring, Made> made_;
  struct Blended {
    rt::Picture from;   // the picture with alpha, kept so that its identity stays valid
    rt::Picture under;  // and the one it was drawn over
    int x = 0;
    int y = 0;
    rt::Picture blended;
  };
  // The picture last drawn over another from each file.
  std::map<std::wstring, Blended> blended_;
};

}  // namespace menu
