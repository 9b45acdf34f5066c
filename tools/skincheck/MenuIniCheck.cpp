// The check of menu.ini. The file is read as the menu reads it (its size first, then the menu's own
// parser), what a button opens comes from the menu's own resolution, and a language counts as
// given where the menu's own choice of text finds it, so that the check and the menu agree.
#include "MenuIniCheck.h"

#include <algorithm>
#include <vector>

#include "Bytes.h"
#include "MenuIniSyntax.h"
#include "frmMainDefinition.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

const std::wstring kIni(menu::kMenuIniFileName);

std::string SectionOf(std::int16_t index) {
  return "[" + Utf8(std::wstring(menu::FindButton(index)->section)) + "]";
}

// The buttons of the disc's window that act.
std::vector<std::int16_t> ActiveButtons(const menu::MenuSettings& settings) {
  std::vector<std::int16_t> active;
  for (const menu::DiscButton& button : menu::LayOutButtons(settings)) {
    if (button.record->Enabled()) active.push_back(button.record->index);
  }
  return active;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// Whether a user reading `tag` gets a translation of `text`, as the menu chooses one.
bool Translates(const menu::LocalizedText& text, const std::wstring& tag) {
  const menu::LocalizedText translations{std::nullopt, text.translations};
  return menu::ChooseText(translations, std::span(&tag, 1)).has_value();
}

// Warns of each language that some of `buttons` give `key` in and others do not.
void CheckLanguages(Report& report, const menu::MenuSettings& settings,
                    const std::vector<std::int16_t>& buttons, std::string_view key,
                    menu::LocalizedText menu::ButtonSettings::*member, std::string_view effect) {
  std::vector<std::wstring> tags;  // as first written
  for (const std::int16_t index : buttons) {
    for (const auto& [tag, text] : (settings.Button(index)->*member).translations) {
      if (std::none_of(tags.begin(), tags.end(), [&](const std::wstring& known) {
            return menu::ini::EqualsIgnoringCase(known, tag);
          })) {
        tags.push_back(tag);
      }
    }
  }
  for (const std::wstring& tag : tags) {
    std::vector<std::string> given;
    std::vector<std::string> lacking;
    for (const std::int16_t index : buttons) {
      (Translates(settings.Button(index)->*member, tag) ? given : lacking)
          .push_back(SectionOf(index));
    }
    if (lacking.empty()) continue;
    report.Add(Severity::kWarning, kIni,
               std::string(key) + "[" + Utf8(tag) + "] is given for " + Joined(given) +
                   " but not for " + Joined(lacking) + ": users who read " + Utf8(tag) + " " +
                   std::string(effect) + " in another language");
  }
}

// A relative path with its . and .. parts resolved by their text, as Windows resolves them before
// it looks for the file; none where it climbs above the folder it is relative to.
std::optional<std::wstring> Resolved(std::wstring_view path) {
  std::vector<std::wstring_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring_view::npos) end = path.size();
    const std::wstring_view part = path.substr(start, end - start);
    if (part == L"..") {
      if (parts.empty()) return std::nullopt;
      parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::wstring resolved;
  for (const std::wstring_view part : parts) {
    resolved += (resolved.empty() ? L"" : L"\\") + std::wstring(part);
  }
  return resolved;
}

void CheckTarget(Report& report, const menu::ButtonSettings& button, std::int16_t index, bool is64,
                 const std::string& bitness) {
  const std::wstring& value = is64 ? *button.open64 : *button.open;
  const std::string where = SectionOf(index) + (is64 ? " Open64" : " Open");
  const menu::ini::PathKind kind = menu::ini::CheckPath(value, menu::ini::PathUse::kOpen).kind;
  if (kind == menu::ini::PathKind::kAddress) {
    report.Add(Severity::kNote, kIni, where + " is the address " + Utf8(value) + ", not checked");
    return;
  }
  if (kind == menu::ini::PathKind::kAbsolute) {
    report.Add(Severity::kNote, kIni,
               where + " is the full path " + Utf8(value) +
                   ", not checked: it lies outside the folder or on a drive known only when the "
                   "menu runs");
    return;
  }
  // Joined to an empty program folder, the path is what the menu opens relative to its own.
  const menu::ButtonAction action = menu::ResolveButton(button, index, L"", is64);
  if (!action.start) return;
  const std::optional<std::wstring> target = Resolved(action.start->target);
  if (!target) {
    report.Add(Severity::kNote, kIni,
               where + " " + Utf8(value) + " leads out of the folder, not checked");
    return;
  }
  const Located located = Locate(report.Folder(), *target);
  if (!located.found) {
    // A click on the button shows the error box, as a missing installer's does.
    report.Add(Severity::kError, *target,
               "missing: " + where + " names it, so the button would fail to open it" + bitness);
    return;
  }
  report.NoteCase(*target, located);
}

}  // namespace

MenuIniRead CheckMenuIni(Report& report) {
  const Located located = Locate(report.Folder(), kIni);
  if (!located.found) return {};
  const MenuIniRead refused{std::nullopt, true};
  std::error_code error;
  if (fs::is_directory(located.path, error)) {
    report.Add(Severity::kError, kIni, "is a folder, not a file, so the menu cannot read it");
    return refused;
  }
  report.NoteCase(kIni, located);
  std::vector<menu::MenuIniError> faults;
  std::optional<bmpio::Bytes> bytes;
  // The menu refuses a file too large before it reads it.
  const std::uintmax_t size = fs::file_size(located.path, error);
  if (!error && size > menu::kMenuIniMaxBytes) {
    faults.push_back(menu::MenuIniSizeError(size));
  } else if (!(bytes = bmpio::ReadFile(located.path))) {
    report.Add(Severity::kError, kIni, "cannot be read");
    return refused;
  }
  menu::MenuIniParse parsed;
  if (faults.empty()) {
    parsed = menu::ParseMenuIni(*bytes);
    faults = std::move(parsed.errors);
  }
  // The menu stops at the first; the disc's maker is told of every one, in the file's order.
  std::stable_sort(faults.begin(), faults.end(),
                   [](const auto& a, const auto& b) { return a.line < b.line; });
  for (const menu::MenuIniError& fault : faults) {
    report.Add(Severity::kError, kIni,
               (fault.line > 0 ? "line " + std::to_string(fault.line) + ": " : std::string()) +
                   Utf8(fault.reason));
  }
  if (!faults.empty()) return refused;
  return {std::move(parsed.settings), false};
}

void CheckButtonTexts(Report& report, const menu::MenuSettings& settings) {
  std::vector<std::int16_t> all;
  std::vector<std::int16_t> withTooltips;
  for (const std::int16_t index : ActiveButtons(settings)) {
    const menu::ButtonSettings& button = *settings.Button(index);
    all.push_back(index);
    if (button.tooltip.plain || !button.tooltip.translations.empty()) withTooltips.push_back(index);
    if (button.label.plain) continue;
    std::vector<std::string> tags;
    for (const auto& [tag, text] : button.label.translations) tags.push_back(Utf8(tag));
    report.Add(Severity::kWarning, kIni,
               SectionOf(index) +
                   (tags.empty() ? " has no Label, so screen readers"
                                 : " has a Label only for " + Joined(tags) +
                                       "; for other languages screen readers") +
                   " name the button by the menu's built-in name");
  }
  CheckLanguages(report, settings, all, "Label", &menu::ButtonSettings::label,
                 "hear those buttons named");
  CheckLanguages(report, settings, withTooltips, "Tooltip", &menu::ButtonSettings::tooltip,
                 "see those buttons' tooltips");
}

void CheckOpenTargets(Report& report, const menu::MenuSettings& settings) {
  for (const std::int16_t index : ActiveButtons(settings)) {
    const menu::ButtonSettings& button = *settings.Button(index);
    const bool apart = button.open64 && button.open64 != button.open;
    if (button.open) CheckTarget(report, button, index, false, apart ? " on 32-bit Windows" : "");
    if (apart) CheckTarget(report, button, index, true, " on 64-bit Windows");
  }
}

bool StartsInstaller(const menu::MenuSettings& settings, std::int16_t index) {
  const menu::ButtonSettings* button = settings.Button(index);
  return button == nullptr || !button->open;
}

}  // namespace skincheck
