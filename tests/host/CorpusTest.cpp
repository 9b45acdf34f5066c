// The picture corpus against the bitmap check: every file the menu must refuse is refused with
// its plain reason, every valid file is accepted at its size, and the valid files really show the
// pattern the end-to-end test looks for, as the reference decoder reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "BitmapCheck.h"
#include "BitmapFormat.h"
#include "PngCheck.h"
#include "PngDecode.h"
#include "ReferenceDecoder.h"
#include "RunTimeError.h"
#include "corpus.h"

namespace {

using corpus::Case;
using corpus::Expect;
using corpus::Kind;
using corpus::Source;

rt::BitmapCheckResult Check(const Case& c) {
  return rt::CheckBitmapFile(std::span<const std::uint8_t>(c.bytes));
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t ch : text) out += ch < 0x80 ? static_cast<char>(ch) : '?';
  return out;
}

// The case's name without its kind.
std::string Stem(const Case& c) { return c.name.substr(c.name.find('-') + 1); }

bool Near(const bmpio::Rgb& a, const bmpio::Rgb& b) {
  return std::abs(a.r - b.r) <= 8 && std::abs(a.g - b.g) <= 8 && std::abs(a.b - b.b) <= 8;
}

std::string Hex(const bmpio::Rgb& c) {
  char text[8];
  std::snprintf(text, sizeof(text), "%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

TEST(Corpus, BothKindsHaveTheSameCasesUnderUniqueNames) {
  std::set<std::string> names;
  std::map<Kind, std::set<std::string>> stems;
  std::map<Expect, int> expects;
  for (const Case& c : corpus::Cases()) {
    EXPECT_TRUE(names.insert(c.name).second) << "two cases named " << c.name;
    EXPECT_EQ(c.name.rfind(std::string(corpus::KindName(c.kind)) + "-", 0), 0u) << c.name;
    EXPECT_FALSE(c.description.empty()) << c.name;
    EXPECT_EQ(c.description.find('\t'), std::string::npos) << c.name;
    EXPECT_EQ(c.description.find('\n'), std::string::npos) << c.name;
    stems[c.kind].insert(Stem(c));
    ++expects[c.expect];
  }
  EXPECT_EQ(stems[Kind::kSkin], stems[Kind::kButton]);
  EXPECT_GE(expects[Expect::kRefused], 40);
  EXPECT_GE(expects[Expect::kDisplayed], 20);
}

TEST(Corpus, CasesWithoutAFileAreMarkedForTheTest) {
  int missing = 0;
  int folders = 0;
  for (const Case& c : corpus::Cases()) {
    SCOPED_TRACE(c.name);
    if (c.source == Source::kFile) {
      EXPECT_NE(c.description.rfind("missing", 0), 0u);
      EXPECT_NE(c.description.rfind("folder", 0), 0u);
      continue;
    }
    EXPECT_EQ(c.expect, Expect::kRefused);
    EXPECT_TRUE(c.bytes.empty());
    if (c.source == Source::kMissing) {
      ++missing;
      EXPECT_EQ(c.description.rfind("missing", 0), 0u);
    } else {
      ++folders;
      EXPECT_EQ(c.description.rfind("folder", 0), 0u);
    }
  }
  EXPECT_EQ(missing, 2);
  EXPECT_EQ(folders, 2);
}

TEST(Corpus, RefusedFilesAreRefusedForTheirOwnReason) {
  int checked = 0;
  for (const Case& c : corpus::Cases()) {
    if (c.expect != Expect::kRefused || c.source != Source::kFile) continue;
    SCOPED_TRACE(c.name);
    ++checked;
    ASSERT_FALSE(c.reason.empty());
    const rt::BitmapCheckResult r = Check(c);
    EXPECT_FALSE(r.ok) << "accepted as " << r.width << " x " << r.height;
    EXPECT_FALSE(r.reason.empty());
    EXPECT_NE(Narrow(r.reason).find(c.reason), std::string::npos)
        << "refused for \"" << Narrow(r.reason) << "\", expected \"" << c.reason << "\"";
  }
  EXPECT_GE(checked, 40);
}

TEST(Corpus, ValidFilesAreAcceptedAtTheSizeOfTheirKind) {
  for (const Case& c : corpus::Cases()) {
    if (c.expect == Expect::kRefused) continue;
    SCOPED_TRACE(c.name);
    const rt::BitmapCheckResult r = Check(c);
    ASSERT_TRUE(r.ok) << Narrow(r.reason);
    const corpus::PictureSize size = corpus::SizeOf(c.kind);
    EXPECT_EQ(r.width, size.width);
    EXPECT_EQ(std::abs(r.height), size.height);
    // Only the top-down case is stored top-down.
    EXPECT_EQ(r.height < 0, c.name.ends_with("-topdown-24bit"));
  }
}

TEST(Corpus, ValidFilesDecodeToThePatternEverywhere) {
  int decoded = 0;
  for (const Case& c : corpus::Cases()) {
    if (c.expect == Expect::kRefused) continue;
    SCOPED_TRACE(c.name);
    const bmpio::Decoded d = bmpio::DecodeTrusting(c.bytes, true);
    ASSERT_TRUE(d.ok) << d.problem;
    const corpus::PictureSize size = corpus::SizeOf(c.kind);
    ASSERT_EQ(d.width, size.width);
    ASSERT_EQ(d.height, size.height);
    int wrong = 0;
    for (int y = 0; y < d.height; ++y) {
      for (int x = 0; x < d.width; ++x) {
        const bmpio::Rgb want = corpus::PatternColour(c.kind, c.blackCorners, x, y);
        const bmpio::Rgb got = d.pixels[static_cast<std::size_t>(y * d.width + x)];
        if (!Near(got, want) && wrong++ == 0) {
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << Hex(got) << ", expected "
                        << Hex(want);
        }
      }
    }
    EXPECT_EQ(wrong, 0);
    ++decoded;
  }
  EXPECT_GE(decoded, 22);
}

TEST(Corpus, SamplesShowBothColoursAndTheSkinsHoles) {
  for (const Case& c : corpus::Cases()) {
    SCOPED_TRACE(c.name);
    if (c.expect != Expect::kDisplayed) {
      EXPECT_TRUE(c.samples.empty());
      continue;
    }
    std::set<std::string> colours;
    int holes = 0;
    const corpus::PictureSize size = corpus::SizeOf(c.kind);
    for (const corpus::Sample& s : c.samples) {
      ASSERT_TRUE(s.x >= 0 && s.x < size.width && s.y >= 0 && s.y < size.height);
      EXPECT_EQ(s.hole, s.colour == bmpio::Rgb{}) << s.x << "," << s.y;
      if (s.hole) {
        ++holes;
      } else {
        colours.insert(Hex(s.colour));
      }
    }
    EXPECT_EQ(colours.size(), 2u);
    EXPECT_EQ(holes, c.blackCorners ? 4 : 0);
  }
}

// These refusals are what keeps a decoder that trusts the headers inside the file and the
// picture; the reference decoder, which the fuzzer relies on, notices each of them. The skin's
// RLE8 stream with the image size past the end is well-formed: only the way Wine 8 reads it
// leaves the file.
TEST(Corpus, RefusalsThatKeepADecoderInsideTheFile) {
  const std::set<std::string> guarded = {
      "truncated-header",  "truncated-pixels", "huge",          "wide",
      "overflow-size",     "overflow-row",     "height-min",    "offset-past-end",
      "palette-100000",    "palette-257",      "rle8-past-top", "rle4-past-row",
      "v5-profile-outside"};
  const std::string wineOnly = "skin-rle8-size-past-end";
  int seen = 0;
  for (const Case& c : corpus::Cases()) {
    if (guarded.count(Stem(c)) == 0 && c.name != wineOnly) continue;
    SCOPED_TRACE(c.name);
    ++seen;
    EXPECT_FALSE(Check(c).ok);
    const bmpio::Decoded d = bmpio::DecodeTrusting(c.bytes, false);
    EXPECT_FALSE(d.ok);
    EXPECT_FALSE(d.problem.empty());
    EXPECT_EQ(d.problem.rfind("as Wine 8 reads", 0) == 0, c.name == wineOnly) << d.problem;
  }
  EXPECT_EQ(seen, 2 * static_cast<int>(guarded.size()) + 1);
}

const Case& Named(const std::string& name) {
  for (const Case& c : corpus::Cases()) {
    if (c.name == name) return c;
  }
  ADD_FAILURE() << "no case " << name;
  return corpus::Cases().front();
}

// The profile a V5 header points at is read only for embedded and linked profiles, and must then
// lie inside the file, whatever its offset and size add up to.
TEST(Corpus, V5ProfilesMustLieInsideTheFile) {
  using namespace rt::bmp;
  constexpr std::size_t kSpace = kFileHeaderSize + kColourSpaceOffset;
  constexpr std::size_t kOffset = kFileHeaderSize + kProfileDataOffset;
  constexpr std::size_t kSize = kFileHeaderSize + kProfileSizeOffset;
  for (const Kind kind : {Kind::kSkin, Kind::kButton}) {
    const bmpio::Bytes original = Named(std::string(corpus::KindName(kind)) + "-v5-profile").bytes;
    const auto fileSize = static_cast<std::uint32_t>(original.size());
    const std::uint32_t end = fileSize - kFileHeaderSize;  // the end, from the V5 header
    struct Variant {
      const char* what;
      std::uint32_t space;
      std::uint32_t offset;
      std::uint32_t size;
      bool accepted;
    };
    const Variant variants[] = {
        {"ending at the file's end", kProfileEmbedded, end - 132, 132, true},
        {"empty, at the file's end", kProfileEmbedded, end, 0, true},
        {"one byte past the end", kProfileEmbedded, end - 131, 132, false},
        {"starting past the end", kProfileEmbedded, end + 1, 1, false},
        {"offset and size wrapping 32 bits", kProfileEmbedded, 0xFFFFFFFFu, 2, false},
        {"a linked profile's name past the end", kProfileLinked, end - 10, 11, false},
        {"unused fields of an sRGB header", kLcsSrgb, 0xFFFFFFFFu, 0xFFFFFFFFu, true},
    };
    for (const Variant& v : variants) {
      SCOPED_TRACE(std::string(corpus::KindName(kind)) + ": " + v.what);
      bmpio::Bytes file = original;
      bmpio::Set32(file, kSpace, v.space);
      bmpio::Set32(file, kOffset, v.offset);
      bmpio::Set32(file, kSize, v.size);
      const rt::BitmapCheckResult r = rt::CheckBitmapFile(std::span<const std::uint8_t>(file));
      EXPECT_EQ(r.ok, v.accepted) << Narrow(r.reason);
      if (!v.accepted) {
        EXPECT_NE(Narrow(r.reason).find("colour profile"), std::string::npos);
      }
      EXPECT_EQ(bmpio::DecodeTrusting(file, false).ok, v.accepted);
    }
  }
}

// The colours of a decoded PNG case at its samples, each checked against the sample.
std::set<std::string> SampledColours(const Case& c, const pngio::Decoded& d) {
  std::set<std::string> colours;
  for (const corpus::Sample& s : c.samples) {
    const pngio::Rgba& p = d.pixels[static_cast<std::size_t>(s.y * d.width + s.x)];
    EXPECT_EQ(p.a == 0, s.hole) << s.x << "," << s.y;
    if (!s.hole) {
      EXPECT_EQ(Hex({p.r, p.g, p.b}), Hex(s.colour)) << s.x << "," << s.y;
      colours.insert(Hex(s.colour));
    }
  }
  return colours;
}

}  // namespace

// The PNG cases: each broken rule refused by the check for its own reason; files whose chunks are
// in order but whose compressed data is broken let through by the check and refused by the
// system's decoder, or read at their size where tolerated; valid files accepted and decoded to the
// colours and holes the samples name.
TEST(PngCorpus, EachCaseMeetsItsCheckAndDecoder) {
  std::map<Kind, std::set<std::string>> stems;
  std::map<std::string, int> seen;
  for (const Case& c : corpus::PngCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.format, corpus::Format::kPng);
    EXPECT_TRUE(stems[c.kind].insert(Stem(c)).second);
    const rt::PngCheckResult r = rt::CheckPngFile(std::span<const std::uint8_t>(c.bytes));
    if (c.expect == Expect::kRefused && !c.checkAccepts) {
      ++seen["refused"];
      EXPECT_FALSE(r.ok);
      EXPECT_NE(Narrow(r.reason).find(c.reason), std::string::npos)
          << "refused for \"" << Narrow(r.reason) << "\", expected \"" << c.reason << "\"";
      continue;
    }
    ASSERT_TRUE(r.ok) << Narrow(r.reason);
    const pngio::Decoded d = pngio::DecodeWithSystem(c.bytes);
    if (c.expect == Expect::kTolerated) {
      ++seen["tolerated"];
      // What this build's decoder made of it, in the XML report (--gtest_output=xml): where it
      // decoded, the pixel in the middle of the lower right quarter, which the broken palette
      // indexes and the extra rows' data touch.
      std::string made = "refused: " + d.problem;
      if (d.ok) {
        const pngio::Rgba& p =
            d.pixels[static_cast<std::size_t>(r.height * 3 / 4 * r.width + r.width * 3 / 4)];
        made = "decoded, " + Hex({p.r, p.g, p.b}) + " alpha " + std::to_string(p.a);
      }
      RecordProperty(c.name, made);
      if (d.ok) {
        EXPECT_EQ(d.pixels.size(), static_cast<std::size_t>(r.width * r.height));
      }
      // As the menu loads it: a short palette filled up, its missing colours opaque black; where
      // it decodes, it shows what the samples say.
      const std::vector<std::uint8_t> filled = rt::PngWithFullPalette(c.bytes, r);
      if (!filled.empty()) {
        ++seen["filled"];
        ASSERT_TRUE(rt::CheckPngFile(filled).ok);
        const pngio::Decoded f = pngio::DecodeWithSystem(filled);
        ASSERT_TRUE(f.ok) << f.problem;
        const pngio::Rgba& p =
            f.pixels[static_cast<std::size_t>(r.height * 3 / 4 * r.width + r.width * 3 / 4)];
        EXPECT_EQ(Hex({p.r, p.g, p.b}) + " " + std::to_string(p.a), "000000 255");
        SampledColours(c, f);
      } else if (d.ok) {
        SampledColours(c, d);
      }
      EXPECT_EQ(c.error, rt::kErrInvalidPicture);
      continue;
    }
    if (c.expect == Expect::kRefused) {
      ++seen["undecodable"];
      EXPECT_FALSE(d.ok) << "decoded";
      continue;
    }
    ++seen["valid"];
    ASSERT_TRUE(d.ok) << d.problem;
    ASSERT_EQ(d.width, corpus::SizeOf(c.kind).width);
    ASSERT_EQ(d.height, corpus::SizeOf(c.kind).height);
    EXPECT_GE(SampledColours(c, d).size(), 2u);  // both colours of the pattern
  }
  EXPECT_EQ(stems[Kind::kSkin], stems[Kind::kButton]);
  EXPECT_GE(seen["refused"], 2 * 35);
  EXPECT_EQ(seen["undecodable"], 2 * 4);
  EXPECT_EQ(seen["tolerated"], 2 * 2);
  EXPECT_EQ(seen["filled"], 2);
  EXPECT_EQ(seen["valid"], 2 * 23);
}
