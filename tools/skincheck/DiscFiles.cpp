// menu.exe and autorun.inf at the root of the folder.
#include "DiscFiles.h"

#include <optional>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MenuIniSyntax.h"

namespace skincheck {

namespace fs = std::filesystem;

namespace {

const std::wstring kProgram = L"menu.exe";
const std::wstring kAutorun = L"autorun.inf";

// The file's text: UTF-16 LE after its byte-order mark, else each byte one character, as in the
// single-byte code pages Windows reads such files in (a UTF-8 mark is passed over).
std::wstring Text(const bmpio::Bytes& bytes) {
  std::wstring text;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    return text;
  }
  std::size_t start = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
  for (std::size_t i = start; i < bytes.size(); ++i) text += static_cast<wchar_t>(bytes[i]);
  return text;
}

struct Entry {
  int line = 0;
  std::wstring value;
};

// The file named by a value: a program's path before its arguments, an icon's before its index,
// without the quotes around it.
std::wstring NamedFile(std::wstring_view value, wchar_t end) {
  value = menu::ini::Trim(value);
  if (!value.empty() && value.front() == L'"') {
    const std::size_t close = value.find(L'"', 1);
    return std::wstring(value.substr(1, close == std::wstring_view::npos ? close : close - 1));
  }
  return std::wstring(menu::ini::Trim(value.substr(0, value.find(end))));
}

// Whether `file` is missing from the folder; the menu's own program counts as there, its absence
// is reported on its own.
bool Missing(const Report& report, const std::wstring& file) {
  return file.empty() ||
         (!menu::ini::EqualsIgnoringCase(file, kProgram) && !Locate(report.Folder(), file).found);
}

std::string Where(const Entry& entry, std::string_view key) {
  return "line " + std::to_string(entry.line) + ": " + std::string(key) + "=";
}

}  // namespace

void CheckProgram(Report& report) {
  report.Find(kProgram, "a program", ": there is no menu to start");
}

void CheckAutorun(Report& report) {
  const Located located = Locate(report.Folder(), kAutorun);
  std::error_code error;
  if (!located.found) {
    report.Add(Severity::kWarning, kAutorun,
               "missing: the drive gets neither the menu's icon nor a name of its own, and "
               "AutoPlay does not offer to open the menu");
    return;
  }
  const std::optional<bmpio::Bytes> bytes =
      fs::is_directory(located.path, error) ? std::nullopt : bmpio::ReadFile(located.path);
  if (!bytes) {
    report.Add(Severity::kWarning, kAutorun,
               "cannot be read: Windows takes neither the icon, the name nor the program from it");
    return;
  }
  report.NoteCase(kAutorun, located);

  // The [autorun] section's keys, the first of each name as Windows takes it.
  std::optional<Entry> open, icon, label;
  bool inAutorun = false;
  bool hasSection = false;
  const std::wstring text = Text(*bytes);
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring_view line = std::wstring_view(text).substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    line = menu::ini::Trim(line);
    start = end + 1;
    ++number;
    if (line.empty() || line.front() == L';') continue;
    if (line.front() == L'[') {
      inAutorun = menu::ini::EqualsIgnoringCase(
          menu::ini::Trim(line.substr(1, line.find(L']') - 1)), L"autorun");
      hasSection = hasSection || inAutorun;
      continue;
    }
    const std::size_t equals = line.find(L'=');
    if (!inAutorun || equals == std::wstring_view::npos) continue;
    const std::wstring_view key = menu::ini::Trim(line.substr(0, equals));
    const Entry entry{number, std::wstring(menu::ini::Trim(line.substr(equals + 1)))};
    for (auto [name, slot] : {std::pair{L"open", &open}, std::pair{L"shellexecute", &open},
                              std::pair{L"icon", &icon}, std::pair{L"label", &label}}) {
      if (menu::ini::EqualsIgnoringCase(key, name) && !*slot) *slot = entry;
    }
  }
  if (!hasSection) {
    report.Add(Severity::kWarning, kAutorun,
               "has no [autorun] section, so Windows takes nothing from it");
    return;
  }
  if (!open) {
    report.Add(Severity::kWarning, kAutorun,
               "names no program to open (open=), so AutoPlay does not offer to open the menu");
  } else if (const std::wstring file = NamedFile(open->value, L' '); Missing(report, file)) {
    report.Add(Severity::kError, kAutorun,
               Where(*open, "open") + Utf8(open->value) + " names " +
                   (file.empty() ? "no file" : Utf8(file) + ", which is not in the folder") +
                   ": AutoPlay would fail to start the menu");
  }
  if (icon) {
    const std::wstring file = NamedFile(icon->value, L',');
    if (Missing(report, file)) {
      report.Add(Severity::kWarning, kAutorun,
                 Where(*icon, "icon") + Utf8(icon->value) + " names " +
                     (file.empty() ? "no file" : Utf8(file) + ", which is not in the folder") +
                     ": the drive shows the standard icon");
    }
  }
  if (label && label->value.size() > kMaxDriveLabel) {
    report.Add(Severity::kWarning, kAutorun,
               Where(*label, "label") + " has " + std::to_string(label->value.size()) +
                   " characters, more than the " + std::to_string(kMaxDriveLabel) +
                   " Windows shows of a drive's name");
  }
}

}  // namespace skincheck
