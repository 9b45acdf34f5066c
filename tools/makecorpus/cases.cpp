// The corpus's cases as a whole: both kinds, named and described, with the points the end-to-end
// test samples.
#include <array>
#include <utility>

#include "RunTimeError.h"
#include "pattern.h"

namespace corpus {

namespace {

std::vector<Sample> SamplesOf(Kind kind, bool blackCorners) {
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
  std::vector<Sample> samples;
  auto add = [&](int x, int y) {
    const int index = PatternIndex(kind, blackCorners, x, y);
    samples.push_back({x, y, ColourOf(kind, index), index == 0});
  };
  if (kind == Kind::kSkin) {
    for (const auto& [x, y] : kSkinPoints) add(x, y);
  } else {
    for (const auto& [x, y] : kButtonPoints) add(x, y);
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

}  // namespace corpus
