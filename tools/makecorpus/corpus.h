// A corpus of picture files for the menu's skin and buttons: well-formed files of every format the
// menu accepts, drawn with one distinctive pattern, and damaged or lying files it must refuse.
// Shared by the makecorpus tool (which writes the files for the end-to-end test and the fuzzer)
// and by the unit tests of the checks; the files are laid out by the bitmap and PNG toolkits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "BmpWriter.h"

namespace corpus {

using bmpio::Bytes;
using bmpio::Rgb;

// What the picture is made for: the skin (800 x 600) or a button picture (113 x 122).
enum class Kind { kSkin, kButton };

// refused: must be reported as an error; displayed: valid and must show the pattern's colours;
// tolerated: a PNG file whose data is wrong in a way only decoding finds, and which decoders may
// show as they read it or refuse, never crashing or hanging.
enum class Expect { kRefused, kDisplayed, kTolerated };

// A case is a file, or the absence of one: no file at all, or a folder in the file's place.
enum class Source { kFile, kMissing, kFolder };

// The file's format, which its name ends with: ".bmp" or ".png".
enum class Format { kBitmap, kPng };

// A point of the picture (top-left origin) and what it shows there; `hole` for a black corner
// pixel of a skin, which the window's outline leaves out.
struct Sample {
  int x = 0;
  int y = 0;
  Rgb colour;
  bool hole = false;
};

struct Case {
  std::string name;  // the file name without its extension; starts with the kind's name
  Kind kind = Kind::kSkin;
  Expect expect = Expect::kRefused;
  std::string description;  // starts with "missing" or "folder" for those sources
  Source source = Source::kFile;
  Format format = Format::kBitmap;
  Bytes bytes;
  int error = 0;                // refused, tolerated: the run-time error number the menu reports
  std::string reason;           // refused, tolerated: words the reported reason contains
  bool checkAccepts = false;    // refused by the decoder: the check lets it through
  bool blackCorners = false;    // valid skins: drawn with black corner squares
  std::vector<Sample> samples;  // displayed, tolerated: colours at a few points of the picture
};

struct PictureSize {
  int width = 0;
  int height = 0;
};

PictureSize SizeOf(Kind kind);
std::string_view KindName(Kind kind);
std::string_view ExpectName(Expect expect);

// The colour a displayed picture of `kind` shows at x, y (top-left origin). The pattern has two
// colours in four unequal quarters, so that a flipped or shifted decode shows; skins add black
// squares in their corners, except where the format holds only two colours.
Rgb PatternColour(Kind kind, bool blackCorners, int x, int y);

// Every case of both kinds, skins first; made on the first call.
const std::vector<Case>& Cases();
// The PNG cases of both kinds, skins first: valid files of every colour type, bit depth and
// interlacing, and files that break each rule of the format.
const std::vector<Case>& PngCases();
// ".bmp" or ".png".
std::string_view Extension(Format format);

}  // namespace corpus
