// The corpus's valid files: the pattern in every format and header form the menu accepts.
#include "pattern.h"

namespace corpus {

namespace {

using namespace rt::bmp;

// A minimal colour profile: an ICC header of 128 bytes naming its own size, and no tags.
Bytes SmallProfile() {
  Bytes profile;
  PutBig32(profile, 132);
  profile.resize(36, 0);
  Append(profile, Text("acsp"));
  profile.resize(128, 0);
  PutBig32(profile, 0);  // tag count
  return profile;
}

}  // namespace

void AddValidCases(CaseList& list) {
  const Kind kind = list.kind();
  const PictureSize size = list.size();
  const Bytes plain = Plain24(kind).Write();

  // Well-formed files of every format, all showing the pattern.
  list.Valid("1bit", "1 bit per pixel, two colours (no black corners)",
             Paletted(kind, 1, TwoColours(kind), false).Write(), false);
  list.Valid("4bit", "4 bits per pixel, 16-colour palette",
             Paletted(kind, 4, Palette16(kind), true).Write());
  list.Valid("8bit", "8 bits per pixel, 256-colour palette",
             Paletted(kind, 8, Palette256(kind), true).Write());
  {
    Palette three;
    three.slot = {0, 1, 2};
    three.entries = {ColourOf(kind, 0), ColourOf(kind, 1), ColourOf(kind, 2)};
    list.Valid("8bit-3colours", "8 bits per pixel, a palette of 3 colours",
               Paletted(kind, 8, three, true).Write());
  }
  list.Valid("rle4", "RLE4, absolute and encoded runs",
             RleFile(kind, 4, PatternRle(kind, 4)).Write());
  list.Valid("rle8", "RLE8, absolute and encoded runs",
             RleFile(kind, 8, PatternRle(kind, 8)).Write());
  {
    Bitmap layout = Basic(kind);
    layout.bits = 16;
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k555, false);
    list.Valid("16bit-555", "16 bits per pixel, 5-5-5 without bit fields", layout.Write());
    layout.compression = kBiBitfields;
    layout.masks = {0xF800u, 0x07E0u, 0x001Fu};
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k565, false);
    list.Valid("16bit-565", "16 bits per pixel, 5-6-5 bit fields", layout.Write());
  }
  list.Valid("24bit", "24 bits per pixel", plain);
  {
    Bitmap layout = Basic(kind);
    layout.bits = 32;
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k32, false);
    list.Valid("32bit", "32 bits per pixel", layout.Write());
  }
  {
    Bitmap layout = Basic(kind);
    layout.headerSize = kV5HeaderSize;
    layout.bits = 32;
    layout.compression = kBiBitfields;
    layout.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    Bytes pixels = PackDirect(kind, Pattern(kind, true), Direct::k32, false);
    for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;  // opaque
    layout.pixels = pixels;
    list.Valid("v5", "BITMAPV5HEADER, 32-bit bit fields with alpha, sRGB", layout.Write());
    layout.colourSpace = kProfileEmbedded;
    layout.profile = SmallProfile();
    list.Valid("v5-profile", "BITMAPV5HEADER with an embedded colour profile after the pixels",
               layout.Write());
  }
  {
    Bitmap layout = Plain24(kind);
    layout.headerSize = kCoreHeaderSize;
    list.Valid("core-24bit", "OS/2 core header, 24 bits per pixel", layout.Write());
    Bitmap paletted = Paletted(kind, 8, Palette256(kind), true);
    paletted.headerSize = kCoreHeaderSize;
    list.Valid("core-8bit", "OS/2 core header, 8 bits per pixel, palette of triples",
               paletted.Write());
  }
  {
    Bitmap layout = Basic(kind);
    layout.height = -size.height;
    layout.pixels = PackDirect(kind, Pattern(kind, true), Direct::k24, true);
    list.Valid("topdown-24bit", "24 bits per pixel stored top-down (negative height)",
               layout.Write());
  }
}

}  // namespace corpus
