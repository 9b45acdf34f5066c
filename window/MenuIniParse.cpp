// menu.ini's lines into the menu's settings: sections, keys with their languages, and the check of
// every value. Every fault is collected, in the file's order, and the parse goes on after each one
// so that the disc's maker sees them all at once; nothing is skipped or guessed, and a file with a
// fault gives no settings.
#include <algorithm>

#include "Decimal.h"
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
  kAfterStart
};

struct KeyInfo {
  std::wstring_view name;
  Key key;
  bool localized;
};

constexpr KeyInfo kKeys[] = {{L"Title", Key::kTitle, true},
                             {L"Label", Key::kLabel, true},
                             {L"Tooltip", Key::kTooltip, true},
                             {L"Open", Key::kOpen, false},
                             {L"Open64", Key::kOpen64, false},
                             {L"Arguments", Key::kArguments, false},
                             {L"WorkingFolder", Key::kWorkingFolder, false},
                             {L"Show", Key::kShow, false},
                             {L"AfterStart", Key::kAfterStart, false}};

// Sections by their index in the parse: 0 [Menu], 1 to 4 [Button1] to [Button4], 5 [Close].
constexpr std::wstring_view kSections[] = {L"Menu",    L"Button1", L"Button2",
                                           L"Button3", L"Button4", L"Close"};
constexpr int kMenuSection = 0;
constexpr int kCloseSection = 5;

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
  std::wstring SectionName() const { return L"[" + std::wstring(kSections[section_]) + L"]"; }
  ButtonSettings& Button() {
    return section_ == kCloseSection ? settings.close
                                     : settings.installers[static_cast<std::size_t>(section_ - 1)];
  }

  int line_ = 0;
  int section_ = -1;
  bool skipping_ = false;
  std::array<int, std::size(kSections)> sectionLines_{};
  std::vector<SeenKey> seen_;
};

std::optional<MenuIniError> Parser::Line(int number, std::wstring_view line) {
  line_ = number;
  for (const wchar_t c : line) {
    if ((c < 0x20 && c != L'\t') || c == 0x7F) {
      if (c == L'\r') return Fault(L"a carriage return stands without its line feed");
      return Fault(L"the line holds the control character U+" +
                   ini::Hex(static_cast<unsigned>(c), 4));
    }
  }
  const std::wstring_view text = Trim(line);
  if (text.empty() || text.front() == L';' || text.front() == L'#') return std::nullopt;
  if (text.front() == L'[') return Section(text);
  const std::size_t equals = text.find(L'=');
  if (equals != std::wstring_view::npos) return KeyLine(text, equals);
  return Fault(Quote(text) + L" is not a section, a key or a comment");
}

std::optional<MenuIniError> Parser::Section(std::wstring_view line) {
  // Until the next section, the keys of a refused section line belong to no section and are
  // passed over, so that one wrong name is one fault.
  skipping_ = true;
  if (line.size() < 2 || line.back() != L']') {
    return Fault(L"the section line " + Quote(line) + L" does not end with ]");
  }
  const std::wstring_view name = Trim(line.substr(1, line.size() - 2));
  const auto found =
      std::find_if(std::begin(kSections), std::end(kSections),
                   [&](std::wstring_view known) { return EqualsIgnoringCase(name, known); });
  if (found == std::end(kSections)) {
    return Fault(L"unknown section " + Quote(line) +
                 L"; the sections are [Menu], [Button1] to [Button4] and [Close]");
  }
  if (auto error = EndSection()) errors.push_back(std::move(*error));
  skipping_ = false;
  section_ = static_cast<int>(found - std::begin(kSections));
  int& first = sectionLines_[static_cast<std::size_t>(section_)];
  if (first != 0) {
    return Fault(L"the section " + SectionName() + L" is given twice (first on line " +
                 rt::DecimalText(first) + L")");
  }
  first = line_;
  return std::nullopt;
}

std::optional<MenuIniError> Parser::KeyLine(std::wstring_view line, std::size_t equals) {
  const std::wstring_view written = Trim(line.substr(0, equals));
  const std::wstring_view value = Unquote(Trim(line.substr(equals + 1)));
  if (written.empty()) return Fault(L"the line " + Quote(line) + L" has no key before its =");
  std::wstring_view name = written;
  std::wstring_view tag;
  const bool hasTag = written.find(L'[') != std::wstring_view::npos;
  if (hasTag) {
    const std::size_t open = written.find(L'[');
    if (written.back() != L']') {
      return Fault(L"the key " + Quote(written) + L" opens a [ that it does not close");
    }
    name = written.substr(0, open);
    tag = written.substr(open + 1, written.size() - open - 2);
  }
  const auto info = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const KeyInfo& known) {
    return EqualsIgnoringCase(name, known.name);
  });
  if (skipping_) return std::nullopt;
  if (section_ < 0) return Fault(L"the key " + Quote(written) + L" comes before any section");
  if (info == std::end(kKeys)) {
    return Fault(L"unknown key " + Quote(name) + L" in " + SectionName() +
                 (section_ == kMenuSection
                      ? L"; [Menu] takes Title"
                      : L"; a button takes Label, Tooltip, Open, Open64, Arguments, WorkingFolder, "
                        L"Show and AfterStart"));
  }
  if ((info->key == Key::kTitle) != (section_ == kMenuSection)) {
    return Fault(std::wstring(info->name) + L" does not belong in " + SectionName() +
                 (section_ == kMenuSection ? L"; it belongs in a button's section"
                                           : L"; it belongs in [Menu]"));
  }
  if (hasTag && !info->localized) {
    return Fault(std::wstring(info->name) + L" takes no language; Title, Label and Tooltip do");
  }
  if (hasTag && tag.empty()) return Fault(L"the language of " + Quote(written) + L" is empty");
  if (hasTag && !ini::IsLanguageTag(tag)) {
    return Fault(Quote(tag) + L" is not a language tag such as de or pt-BR");
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
    if (value.empty()) return Fault(name + L" is empty; leave the key out for its default");
    const ini::PathCheck check = ini::CheckPath(value, use);
    if (check.refusal) return Fault(name + L": " + *check.refusal);
    target = std::wstring(value);
    return std::nullopt;
  };
  switch (info.key) {
    case Key::kTitle:
      return text(settings.title);
    case Key::kLabel:
      if (value.empty()) {
        return Fault(L"Label is empty; a button needs a name that screen readers say");
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
      if (const auto state = Choice(value, kShowStates)) {
        Button().show = *state;
        return std::nullopt;
      }
      return Fault(L"Show is " + Quote(value) + L"; it takes minimized, normal or maximized");
    case Key::kAfterStart:
      if (const auto after = Choice(value, kAfterStarts)) {
        Button().afterStart = *after;
        return std::nullopt;
      }
      return Fault(L"AfterStart is " + Quote(value) + L"; it takes close or stay");
  }
  return std::nullopt;
}

// The close button starts nothing by default: the keys that say how to start something are
// faults there unless the section also says what to start.
std::optional<MenuIniError> Parser::EndSection() {
  std::optional<MenuIniError> fault;
  if (section_ == kCloseSection && !settings.close.open && !settings.close.open64) {
    for (const SeenKey& seen : seen_) {
      if (seen.key == Key::kArguments || seen.key == Key::kWorkingFolder ||
          seen.key == Key::kShow || seen.key == Key::kAfterStart) {
        const auto info = std::find_if(std::begin(kKeys), std::end(kKeys),
                                       [&](const KeyInfo& known) { return known.key == seen.key; });
        fault = MenuIniError{seen.line, std::wstring(info->name) +
                                            L" in [Close] needs an Open there; without one the "
                                            L"close button only closes the menu"};
        break;
      }
    }
  }
  seen_.clear();
  return fault;
}

}  // namespace

const ButtonSettings* MenuSettings::Button(std::int16_t index) const {
  if (index >= 0 && index <= 3) return &installers[static_cast<std::size_t>(index)];
  if (index == 14) return &close;
  return nullptr;
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
