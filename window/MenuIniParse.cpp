// menu.ini's lines into the menu's settings: sections, keys with their languages, and the check of
// every value. Every fault is collected, in the file's order, and the parse goes on after each one
// so that the disc's maker sees them all at once; nothing is skipped or guessed, and a file with a
// fault gives no settings.
#include <algorithm>

#include "BitmapCheck.h"
#include "ButtonTable.h"
#include "Decimal.h"
#include "Installed.h"
#include "MenuIni.h"
#include "MenuIniSyntax.h"

namespace menu {

namespace {

using ini::EqualsIgnoringCase;
using ini::Quote;
using ini::Trim;
using ini::Unquote;

enum class Key {
  kTitle,
  kLabel,
  kTooltip,
  kOpen,
  kOpen64,
  kArguments,
  kWorkingFolder,
  kShow,
  kAfterStart,
  kSkin,
  kPlace,
  kPictures,
  kHidden,
  kInstalledKey,
  kInstalledFile,
  kInstalledVersion,
  kWhenInstalled,
  kTooltipInstalled,
  kRequiresWindows,
  kRequires64Bit,
  kWhenUnavailable,
  kTooltipUnavailable
};

struct KeyInfo {
  std::wstring_view name;
  Key key;
  bool localized;
  bool inMenu;  // belongs in [Menu]; every other key in a button's section
};

constexpr KeyInfo kKeys[] = {{L"Title", Key::kTitle, true, true},
                             {L"Skin", Key::kSkin, true, true},
                             {L"Label", Key::kLabel, true, false},
                             {L"Tooltip", Key::kTooltip, true, false},
                             {L"Open", Key::kOpen, false, false},
                             {L"Open64", Key::kOpen64, false, false},
                             {L"Arguments", Key::kArguments, false, false},
                             {L"WorkingFolder", Key::kWorkingFolder, false, false},
                             {L"Show", Key::kShow, false, false},
                             {L"AfterStart", Key::kAfterStart, false, false},
                             {L"Place", Key::kPlace, false, false},
                             {L"Pictures", Key::kPictures, true, false},
                             {L"Hidden", Key::kHidden, false, false},
                             {L"InstalledKey", Key::kInstalledKey, false, false},
                             {L"InstalledFile", Key::kInstalledFile, false, false},
                             {L"InstalledVersion", Key::kInstalledVersion, false, false},
                             {L"WhenInstalled", Key::kWhenInstalled, false, false},
                             {L"TooltipInstalled", Key::kTooltipInstalled, true, false},
                             {L"RequiresWindows", Key::kRequiresWindows, false, false},
                             {L"Requires64Bit", Key::kRequires64Bit, false, false},
                             {L"WhenUnavailable", Key::kWhenUnavailable, false, false},
                             {L"TooltipUnavailable", Key::kTooltipUnavailable, true, false}};

std::wstring_view KeyName(Key key) {
  for (const KeyInfo& info : kKeys) {
    if (info.key == key) return info.name;
  }
  return {};
}

// Sections by their index in the parse: 0 [Menu], then the button sections in the table's order.
constexpr std::wstring_view kMenuName = L"Menu";
constexpr int kMenuSection = 0;
constexpr std::size_t kSectionCount = 1 + kButtons.size();

static_assert(std::count_if(kButtons.begin(), kButtons.end(), [](const ButtonRecord& r) {
                return r.role == ButtonRole::kAdded;
              }) == kAddedButtons);

// The table's record of section `section`; null for [Menu] and for members without a section.
const ButtonRecord* RecordOf(int section) {
  return section > kMenuSection ? &kButtons[static_cast<std::size_t>(section - 1)] : nullptr;
}

std::wstring_view NameOf(int section) {
  const ButtonRecord* record = RecordOf(section);
  return record != nullptr ? record->section : kMenuName;
}

// The section named `name`, or -1 for none.
int FindSection(std::wstring_view name) {
  if (EqualsIgnoringCase(name, kMenuName)) return kMenuSection;
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    if (!kButtons[i].section.empty() && EqualsIgnoringCase(name, kButtons[i].section)) {
      return static_cast<int>(i) + 1;
    }
  }
  return -1;
}

template <typename Value, std::size_t N>
std::optional<Value> Choice(std::wstring_view text,
                            const std::pair<std::wstring_view, Value> (&choices)[N]) {
  for (const auto& [name, value] : choices) {
    if (EqualsIgnoringCase(text, name)) return value;
  }
  return std::nullopt;
}

constexpr std::pair<std::wstring_view, ShowState> kShowStates[] = {
    {L"minimized", ShowState::kMinimized},
    {L"normal", ShowState::kNormal},
    {L"maximized", ShowState::kMaximized}};
constexpr std::pair<std::wstring_view, AfterStart> kAfterStarts[] = {{L"close", AfterStart::kClose},
                                                                     {L"stay", AfterStart::kStay}};
constexpr std::pair<std::wstring_view, bool> kYesNo[] = {{L"yes", true}, {L"no", false}};
constexpr std::pair<std::wstring_view, WhenInstalled> kWhenInstalled[] = {
    {L"mark", WhenInstalled::kMark},
    {L"disable", WhenInstalled::kDisable},
    {L"hide", WhenInstalled::kHide}};
constexpr std::pair<std::wstring_view, WhenUnavailable> kWhenUnavailable[] = {
    {L"disable", WhenUnavailable::kDisable}, {L"hide", WhenUnavailable::kHide}};

// "x,y" with two whole numbers from 0 to kMaxPlace, spaces allowed around each.
std::optional<ButtonPlace> PlaceOf(std::wstring_view value) {
  const std::size_t comma = value.find(L',');
  if (comma == std::wstring_view::npos) return std::nullopt;
  auto number = [](std::wstring_view text) -> std::optional<int> {
    text = Trim(text);
    if (text.empty() || text.size() > 5) return std::nullopt;
    int n = 0;
    for (const wchar_t c : text) {
      if (c < L'0' || c > L'9') return std::nullopt;
      n = n * 10 + (c - L'0');
    }
    if (n > kMaxPlace) return std::nullopt;
    return n;
  };
  const std::optional<int> x = number(value.substr(0, comma));
  const std::optional<int> y = number(value.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return ButtonPlace{*x, *y};
}

// A key given in the current section, to find it given twice.
struct SeenKey {
  Key key;
  std::wstring tag;  // as written; empty for the plain key
  int line;
};

class Parser {
 public:
  std::optional<MenuIniError> Line(int number, std::wstring_view line);
  std::optional<MenuIniError> End() { return EndSection(); }
  MenuSettings settings;
  std::vector<MenuIniError> errors;

 private:
  std::optional<MenuIniError> Section(std::wstring_view line);
  std::optional<MenuIniError> KeyLine(std::wstring_view line, std::size_t equals);
  std::optional<MenuIniError> Store(const KeyInfo& info, std::wstring_view tag,
                                    std::wstring_view value);
  std::optional<MenuIniError> EndSection();
  MenuIniError Fault(std::wstring reason) const { return {line_, std::move(reason)}; }
  std::wstring SectionName() const { return L"[" + std::wstring(NameOf(section_)) + L"]"; }
  ButtonSettings& Button() { return *settings.Button(RecordOf(section_)->index); }

  int line_ = 0;
  int section_ = -1;
  bool skipping_ = false;
  std::array<int, kSectionCount> sectionLines_{};
  std::vector<SeenKey> seen_;
};

std::optional<MenuIniError> Parser::Line(int number, std::wstring_view line) {
  line_ = number;
  for (const wchar_t c : line) {
    if ((c < 0x20 && c != L'\t') || c == 0x7F) {
      if (c == L'\r') return Fault(rt::AsciiText("a carriage return stands without its line feed"));
      return Fault(rt::AsciiText("the line holds the control character U+") +
                   ini::Hex(static_cast<unsigned>(c), 4));
    }
  }
  const std::wstring_view text = Trim(line);
  if (text.empty() || text.front() == L';' || text.front() == L'#') return std::nullopt;
  if (text.front() == L'[') return Section(text);
  const std::size_t equals = text.find(L'=');
  if (equals != std::wstring_view::npos) return KeyLine(text, equals);
  return Fault(Quote(text) + rt::AsciiText(" is not a section, a key or a comment"));
}

std::optional<MenuIniError> Parser::Section(std::wstring_view line) {
  // Until the next section, the keys of a refused section line belong to no section and are
  // passed over, so that one wrong name is one fault.
  skipping_ = true;
  if (line.size() < 2 || line.back() != L']') {
    return Fault(L"the section line " + Quote(line) + L" does not end with ]");
  }
  const std::wstring_view name = Trim(line.substr(1, line.size() - 2));
  const int found = FindSection(name);
  if (found < 0) {
    return Fault(L"unknown section " + Quote(line) +
                 rt::AsciiText("; the sections are [Menu], [Button1] to [Button16] and [Close]"));
  }
  if (auto error = EndSection()) errors.push_back(std::move(*error));
  skipping_ = false;
  section_ = found;
  if (const ButtonRecord* record = RecordOf(section_);
      record != nullptr && record->role == ButtonRole::kAdded) {
    auto& added = settings.added[static_cast<std::size_t>(record->number - kFirstAddedNumber)];
    if (!added) added.emplace();
  }
  int& first = sectionLines_[static_cast<std::size_t>(section_)];
  if (first != 0) {
    return Fault(L"the section " + SectionName() +
                 rt::AsciiText(" is given twice (first on line ") + rt::DecimalText(first) + L")");
  }
  first = line_;
  return std::nullopt;
}

std::optional<MenuIniError> Parser::KeyLine(std::wstring_view line, std::size_t equals) {
  const std::wstring_view written = Trim(line.substr(0, equals));
  const std::wstring_view value = Unquote(Trim(line.substr(equals + 1)));
  if (written.empty())
    return Fault(L"the line " + Quote(line) + rt::AsciiText(" has no key before its ="));
  std::wstring_view name = written;
  std::wstring_view tag;
  const bool hasTag = written.find(L'[') != std::wstring_view::npos;
  if (hasTag) {
    const std::size_t open = written.find(L'[');
    if (written.back() != L']') {
      return Fault(L"the key " + Quote(written) +
                   rt::AsciiText(" opens a [ that it does not close"));
    }
    name = written.substr(0, open);
    tag = written.substr(open + 1, written.size() - open - 2);
  }
  const auto info = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const KeyInfo& known) {
    return EqualsIgnoringCase(name, known.name);
  });
  if (skipping_) return std::nullopt;
  if (section_ < 0)
    return Fault(L"the key " + Quote(written) + rt::AsciiText(" comes before any section"));
  if (info == std::end(kKeys)) {
    return Fault(
        L"unknown key " + Quote(name) + L" in " + SectionName() +
        (section_ == kMenuSection
             ? rt::AsciiText("; [Menu] takes Title and Skin")
             : rt::AsciiText(
                   "; a button takes Label, Tooltip, Open, Open64, Arguments, WorkingFolder, "
                   "Show, AfterStart, Place, Pictures, Hidden, InstalledKey, InstalledFile, "
                   "InstalledVersion, WhenInstalled, TooltipInstalled, RequiresWindows, "
                   "Requires64Bit, WhenUnavailable and TooltipUnavailable")));
  }
  if (info->inMenu != (section_ == kMenuSection)) {
    return Fault(std::wstring(info->name) + L" does not belong in " + SectionName() +
                 (section_ == kMenuSection ? rt::AsciiText("; it belongs in a button's section")
                                           : rt::AsciiText("; it belongs in [Menu]")));
  }
  if (hasTag && !info->localized) {
    return Fault(
        std::wstring(info->name) +
        rt::AsciiText(
            " takes no language; Title, Skin, Label, Tooltip, Pictures, TooltipInstalled and "
            "TooltipUnavailable do"));
  }
  if (hasTag && tag.empty()) return Fault(L"the language of " + Quote(written) + L" is empty");
  if (hasTag && !ini::IsLanguageTag(tag)) {
    return Fault(Quote(tag) + rt::AsciiText(" is not a language tag such as de or pt-BR"));
  }
  for (const SeenKey& seen : seen_) {
    if (seen.key == info->key && EqualsIgnoringCase(seen.tag, tag)) {
      return Fault(Quote(written) + L" is given twice in " + SectionName() + L" (first on line " +
                   rt::DecimalText(seen.line) + L")");
    }
  }
  seen_.push_back({info->key, std::wstring(tag), line_});
  return Store(*info, tag, value);
}

std::optional<MenuIniError> Parser::Store(const KeyInfo& info, std::wstring_view tag,
                                          std::wstring_view value) {
  const std::wstring name(info.name);
  auto text = [&](LocalizedText& target) -> std::optional<MenuIniError> {
    if (tag.empty()) {
      target.plain = std::wstring(value);
    } else {
      target.translations.emplace_back(std::wstring(tag), std::wstring(value));
    }
    return std::nullopt;
  };
  auto path = [&](std::optional<std::wstring>& target,
                  ini::PathUse use) -> std::optional<MenuIniError> {
    if (value.empty())
      return Fault(name + rt::AsciiText(" is empty; leave the key out for its default"));
    const ini::PathCheck check = ini::CheckPath(value, use);
    if (check.refusal) return Fault(name + L": " + *check.refusal);
    target = std::wstring(value);
    return std::nullopt;
  };
  // A picture's path is a file on the medium or beside it, never an address.
  auto picture = [&](LocalizedText& target) -> std::optional<MenuIniError> {
    if (value.empty())
      return Fault(name + rt::AsciiText(" is empty; leave the key out for its default"));
    const ini::PathCheck check = ini::CheckPath(value, ini::PathUse::kOpen);
    if (check.refusal) return Fault(name + L": " + *check.refusal);
    if (check.kind == ini::PathKind::kAddress) {
      return Fault(name + L": " + Quote(value) +
                   rt::AsciiText(" is an address; a picture is a file"));
    }
    return text(target);
  };
  // One of a few words.
  auto choose = [&](auto& target, const auto& choices,
                    std::wstring_view takes) -> std::optional<MenuIniError> {
    if (const auto chosen = Choice(value, choices)) {
      target = *chosen;
      return std::nullopt;
    }
    return Fault(name + L" is " + Quote(value) + L"; it takes " + std::wstring(takes));
  };
  // A version is dotted whole numbers, compared part by part.
  auto version = [&](std::optional<rt::VersionParts>& target,
                     std::wstring_view example) -> std::optional<MenuIniError> {
    target = ParseVersion(value);
    if (target) return std::nullopt;
    return Fault(name + L" is " + Quote(value) +
                 rt::AsciiText(
                     "; it takes a version of one to four whole numbers with dots between them (") +
                 std::wstring(name) + L"=" + std::wstring(example) + L")");
  };
  switch (info.key) {
    case Key::kInstalledKey: {
      const KeyPathCheck check = ParseKeyPath(value);
      if (!check.path) return Fault(L"InstalledKey: " + check.refusal);
      Button().installedKey = *check.path;
      return std::nullopt;
    }
    case Key::kInstalledFile: {
      if (value.empty())
        return Fault(rt::AsciiText("InstalledFile is empty; leave the key out for no file"));
      // Before its variables are expanded the path cannot be judged whole: only its characters.
      const ini::PathCheck check = ini::CheckPath(value, ini::PathUse::kOpen);
      if (check.kind == ini::PathKind::kAddress) {
        return Fault(L"InstalledFile: " + Quote(value) +
                     rt::AsciiText(" is an address; it takes a file"));
      }
      if (check.refusal && value.front() != L'%') return Fault(L"InstalledFile: " + *check.refusal);
      if (value.front() != L'%' && check.kind != ini::PathKind::kAbsolute) {
        return Fault(
            L"InstalledFile: " + Quote(value) +
            rt::AsciiText(" is not a full path; write it with its drive or from a variable such as "
                          "%ProgramFiles%"));
      }
      Button().installedFile = std::wstring(value);
      return std::nullopt;
    }
    case Key::kInstalledVersion:
      return version(Button().installedVersion, L"7.1");
    case Key::kRequiresWindows:
      return version(Button().requiresWindows, L"10.0");
    case Key::kWhenInstalled:
      return choose(Button().whenInstalled, kWhenInstalled, L"mark, disable or hide");
    case Key::kWhenUnavailable:
      return choose(Button().whenUnavailable, kWhenUnavailable, L"disable or hide");
    case Key::kRequires64Bit:
      return choose(Button().requires64Bit, kYesNo, L"yes or no");
    case Key::kTooltipInstalled:
      return text(Button().tooltipInstalled);
    case Key::kTooltipUnavailable:
      return text(Button().tooltipUnavailable);
    case Key::kTitle:
      return text(settings.title);
    case Key::kSkin:
      return picture(settings.skin);
    case Key::kPictures:
      return picture(Button().pictures);
    case Key::kPlace:
      if (const auto place = PlaceOf(value)) {
        Button().place = *place;
        return std::nullopt;
      }
      return Fault(
          L"Place is " + Quote(value) +
          rt::AsciiText(
              "; it takes the left and top of the button in pixels, two whole numbers from "
              "0 to 32767 with a comma between them (Place=96,200)"));
    case Key::kHidden:
      return choose(Button().hidden, kYesNo, L"yes or no");
    case Key::kLabel:
      if (value.empty()) {
        return Fault(
            rt::AsciiText("Label is empty; a button needs a name that screen readers say"));
      }
      return text(Button().label);
    case Key::kTooltip:
      return text(Button().tooltip);
    case Key::kOpen:
      return path(Button().open, ini::PathUse::kOpen);
    case Key::kOpen64:
      return path(Button().open64, ini::PathUse::kOpen);
    case Key::kWorkingFolder:
      return path(Button().workingFolder, ini::PathUse::kFolder);
    case Key::kArguments:
      Button().arguments = std::wstring(value);
      return std::nullopt;
    case Key::kShow:
      return choose(Button().show, kShowStates, rt::AsciiText("minimized, normal or maximized"));
    case Key::kAfterStart:
      return choose(Button().afterStart, kAfterStarts, L"close or stay");
  }
  return std::nullopt;
}

// The close button starts nothing by default: the keys that say how to start something are
// faults there unless the section also says what to start. A button a disc adds has no place,
// pictures or program of the design's: its section gives all three.
std::optional<MenuIniError> Parser::EndSection() {
  std::optional<MenuIniError> fault;
  const ButtonRecord* record = RecordOf(section_);
  if (record != nullptr && record->role == ButtonRole::kAdded) {
    const ButtonSettings& button = Button();
    const wchar_t* missing = !button.place                    ? L"Place"
                             : !button.pictures.plain         ? L"Pictures"
                             : !button.open && !button.open64 ? L"Open"
                                                              : nullptr;
    if (missing != nullptr) {
      fault = MenuIniError{
          sectionLines_[static_cast<std::size_t>(section_)],
          SectionName() + L" has no " + missing +
              rt::AsciiText("; a button the disc adds needs its Place, its Pictures and an "
                            "Open or Open64")};
    }
  }
  // A key that only says what to do about a condition needs the condition.
  if (!fault && record != nullptr) {
    const ButtonSettings& button = Button();
    for (const SeenKey& seen : seen_) {
      const char* needs = nullptr;
      if ((seen.key == Key::kInstalledVersion || seen.key == Key::kWhenInstalled) &&
          !button.HasInstalledCondition()) {
        needs = "an InstalledKey or an InstalledFile";
      } else if (seen.key == Key::kWhenUnavailable && !button.HasRequirement()) {
        needs = "a RequiresWindows or Requires64Bit=yes";
      }
      if (needs == nullptr) continue;
      fault =
          MenuIniError{seen.line, std::wstring(KeyName(seen.key)) + L" in " + SectionName() +
                                      L" needs " + rt::AsciiText(needs) + L" in the same section"};
      break;
    }
  }
  const bool closeSection = record != nullptr && record->role == ButtonRole::kClose;
  if (!fault && closeSection && !settings.close.open && !settings.close.open64) {
    for (const SeenKey& seen : seen_) {
      if (seen.key == Key::kArguments || seen.key == Key::kWorkingFolder ||
          seen.key == Key::kShow || seen.key == Key::kAfterStart) {
        fault = MenuIniError{seen.line,
                             std::wstring(KeyName(seen.key)) +
                                 rt::AsciiText(" in [Close] needs an Open there; without one the "
                                               "close button only closes the menu")};
        break;
      }
    }
  }
  seen_.clear();
  return fault;
}

}  // namespace

const ButtonSettings* MenuSettings::Button(std::int16_t index) const {
  const ButtonRecord* record = FindButton(index);
  if (record == nullptr) return nullptr;
  switch (record->role) {
    case ButtonRole::kInstaller:
      return &installers[static_cast<std::size_t>(record->number - 1)];
    case ButtonRole::kClose:
      return &close;
    case ButtonRole::kAdded: {
      const auto& section = added[static_cast<std::size_t>(record->number - kFirstAddedNumber)];
      return section ? &*section : nullptr;
    }
    case ButtonRole::kDisabled:
      break;
  }
  return nullptr;
}

ButtonSettings* MenuSettings::Button(std::int16_t index) {
  return const_cast<ButtonSettings*>(std::as_const(*this).Button(index));
}

MenuIniParse ParseMenuIniText(std::wstring_view text) {
  Parser parser;
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view line = text.substr(start, end - start);
    if (end < text.size() && !line.empty() && line.back() == L'\r') line.remove_suffix(1);
    if (auto error = parser.Line(++number, line)) parser.errors.push_back(std::move(*error));
    start = end + 1;
  }
  if (auto error = parser.End()) parser.errors.push_back(std::move(*error));
  MenuIniParse result;
  if (parser.errors.empty()) {
    result.settings = std::move(parser.settings);
  } else {
    result.error = parser.errors.front();
    result.errors = std::move(parser.errors);
  }
  return result;
}

MenuIniParse ParseMenuIni(std::span<const std::uint8_t> bytes) {
  MenuIniText decoded = DecodeMenuIniText(bytes);
  if (decoded.error) {
    MenuIniParse result;
    result.errors.push_back(*decoded.error);
    result.error = std::move(decoded.error);
    return result;
  }
  return ParseMenuIniText(decoded.text);
}

}  // namespace menu
