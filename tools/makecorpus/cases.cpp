// The corpus's cases as a whole: both kinds, named and described, with the points the end-to-end
// test samples.
#include <array>
#include <utility>

#include "PngFormat.h"
#include "RunTimeError.h"
#include "pattern.h"

namespace corpus {

namespace {

std::vector<std::pair<int, int>> SamplePoints(Kind kind) {
  static constexpr std::array<std::pair<int, int>, 11> kSkinPoints = {{{100, 30},
                                                                       {200, 100},
                                                                       {600, 100},
                                                                       {50, 400},
                                                                       {760, 400},
                                                                       {300, 560},
                                                                       {500, 560},
                                                                       {3, 3},
                                                                       {796, 3},
                                                                       {3, 596},
                                                                       {796, 596}}};
  static constexpr std::array<std::pair<int, int>, 8> kButtonPoints = {
      {{28, 10}, {85, 10}, {28, 80}, {85, 80}, {2, 119}, {110, 119}, {110, 2}, {2, 2}}};
  if (kind == Kind::kSkin) return {kSkinPoints.begin(), kSkinPoints.end()};
  return {kButtonPoints.begin(), kButtonPoints.end()};
}

std::vector<Sample> SamplesOf(Kind kind, bool blackCorners) {
  std::vector<Sample> samples;
  for (const auto& [x, y] : SamplePoints(kind)) {
    const int index = PatternIndex(kind, blackCorners, x, y);
    samples.push_back({x, y, ColourOf(kind, index), index == 0});
  }
  return samples;
}

// The picture's pixels at the sample points; its holes are the pixels of alpha 0.
std::vector<Sample> PngSamples(Kind kind, const pngio::Image& image) {
  const std::vector<pngio::Rgba> pixels = pngio::ExpectedPixels(image);
  std::vector<Sample> samples;
  for (const auto& [x, y] : SamplePoints(kind)) {
    const pngio::Rgba& p =
        pixels[static_cast<std::size_t>(y) * image.width + static_cast<std::size_t>(x)];
    samples.push_back({x, y, Rgb{p.r, p.g, p.b}, p.a == 0});
  }
  return samples;
}

}  // namespace

Case CaseList::Named(std::string name, Expect expect, std::string description) const {
  Case c;
  c.name = std::string(KindName(kind_)) + "-" + name;
  c.kind = kind_;
  c.expect = expect;
  c.description = std::move(description);
  c.format = format_;
  return c;
}

void CaseList::Refused(std::string name, std::string description, Bytes bytes, std::string reason) {
  Case c = Named(std::move(name), Expect::kRefused, std::move(description));
  c.bytes = std::move(bytes);
  c.error = rt::kErrInvalidPicture;
  c.reason = std::move(reason);
  out_->push_back(std::move(c));
}

void CaseList::Absent(std::string name, Source source, std::string description, int error,
                      std::string reason) {
  Case c = Named(std::move(name), Expect::kRefused, std::move(description));
  c.source = source;
  c.error = error;
  c.reason = std::move(reason);
  out_->push_back(std::move(c));
}

void CaseList::Valid(std::string name, std::string description, Bytes bytes, bool blackCorners) {
  Case c = Named(std::move(name), Expect::kDisplayed, std::move(description));
  c.bytes = std::move(bytes);
  c.blackCorners = kind_ == Kind::kSkin && blackCorners;
  c.samples = SamplesOf(kind_, blackCorners);
  out_->push_back(std::move(c));
}

void CaseList::Undecodable(std::string name, std::string description, Bytes bytes) {
  Refused(std::move(name), std::move(description), std::move(bytes), "could not decode it");
  out_->back().checkAccepts = true;
}

void CaseList::Tolerated(std::string name, std::string description, Bytes bytes,
                         pngio::Image shows) {
  Case c = Named(std::move(name), Expect::kTolerated, std::move(description));
  c.bytes = std::move(bytes);
  c.error = rt::kErrInvalidPicture;
  c.reason = "could not decode it";
  // A short palette is filled up with opaque black before decoding.
  if (shows.colourType == rt::png::kPalette) {
    shows.palette.resize(std::size_t{1} << shows.bitDepth, {0, 0, 0, 255});
  }
  c.samples = PngSamples(kind_, shows);
  out_->push_back(std::move(c));
}

void CaseList::ValidPng(std::string name, std::string description, const pngio::Image& image) {
  Case c = Named(std::move(name), Expect::kDisplayed, std::move(description));
  c.bytes = pngio::Write(image);
  c.samples = PngSamples(kind_, image);
  out_->push_back(std::move(c));
}

PictureSize SizeOf(Kind kind) {
  return kind == Kind::kSkin ? PictureSize{800, 600} : PictureSize{113, 122};
}

std::string_view KindName(Kind kind) { return kind == Kind::kSkin ? "skin" : "button"; }

std::string_view ExpectName(Expect expect) {
  switch (expect) {
    case Expect::kRefused:
      return "refused";
    case Expect::kDisplayed:
      return "displayed";
    case Expect::kTolerated:
      return "tolerated";
  }
  return "";
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> all = [] {
    std::vector<Case> cases;
    for (const Kind kind : {Kind::kSkin, Kind::kButton}) {
      CaseList list(kind, cases);
      AddRefusedCases(list);
      AddValidCases(list);
    }
    return cases;
  }();
  return all;
}

const std::vector<Case>& PngCases() {
  static const std::vector<Case> all = [] {
    std::vector<Case> cases;
    for (const Kind kind : {Kind::kSkin, Kind::kButton}) {
      CaseList list(kind, cases, Format::kPng);
      AddPngCases(list);
    }
    return cases;
  }();
  return all;
}

std::string_view Extension(Format format) { return format == Format::kPng ? ".png" : ".bmp"; }

}  // namespace corpus
