// libFuzzer target of the menu.ini reader. A refusal must name a line inside the file and give a
// reason, and leave the settings empty. Settings the reader accepts are written out again, every
// value quoted, as UTF-8 and as UTF-16 LE: both must read back to the same settings. Every
// button must resolve to a full path (or an address) with a full working folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ButtonTable.h"
#include "Decimal.h"
#include "MenuIni.h"

namespace {

// The fuzzer runs on Linux, where wchar_t holds whole code points.
static_assert(sizeof(wchar_t) == 4);

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void AppendUtf8(std::vector<std::uint8_t>& out, char32_t c) {
  auto byte = [&](char32_t value) { out.push_back(static_cast<std::uint8_t>(value)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | (c >> 6)), byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | (c >> 12)), byte(0x80 | ((c >> 6) & 0x3F)), byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | (c >> 18)), byte(0x80 | ((c >> 12) & 0x3F));
    byte(0x80 | ((c >> 6) & 0x3F)), byte(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::vector<std::uint8_t>& out, char32_t c) {
  auto unit = [&](char32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
  };
  if (c < 0x10000) {
    unit(c);
  } else {
    unit(0xD800 + ((c - 0x10000) >> 10)), unit(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

class Writer {
 public:
  void Line(const std::wstring& key, const std::wstring& value) {
    text += key + L"=\"" + value + L"\"\n";
  }
  void Text(const wchar_t* key, const menu::LocalizedText& localized) {
    if (localized.plain) Line(key, *localized.plain);
    for (const auto& [tag, value] : localized.translations) {
      Line(std::wstring(key) + L"[" + tag + L"]", value);
    }
  }
  void Optional(const wchar_t* key, const std::optional<std::wstring>& value) {
    if (value) Line(key, *value);
  }
  void Button(const wchar_t* section, const menu::ButtonSettings& button) {
    text += std::wstring(L"[") + section + L"]\n";
    Text(L"Label", button.label);
    Text(L"Tooltip", button.tooltip);
    Optional(L"Open", button.open);
    Optional(L"Open64", button.open64);
    Optional(L"WorkingFolder", button.workingFolder);
    if (!button.arguments.empty()) Line(L"Arguments", button.arguments);
    static const wchar_t* const kShow[] = {L"minimized", L"normal", L"maximized"};
    if (button.show != menu::ShowState::kMinimized) {
      Line(L"Show", kShow[static_cast<int>(button.show)]);
    }
    if (button.afterStart == menu::AfterStart::kStay) Line(L"AfterStart", L"stay");
    if (button.place) {
      Line(L"Place", rt::DecimalText(button.place->x) + L"," + rt::DecimalText(button.place->y));
    }
    Text(L"Pictures", button.pictures);
    if (button.hidden) Line(L"Hidden", L"yes");
  }
  std::wstring text;
};

std::wstring Write(const menu::MenuSettings& settings) {
  Writer writer;
  writer.text = L"[Menu]\n";
  writer.Text(L"Title", settings.title);
  writer.Text(L"Skin", settings.skin);
  for (const menu::ButtonRecord& record : menu::kButtons) {
    const menu::ButtonSettings* button = settings.Button(record.index);
    if (button != nullptr) writer.Button(std::wstring(record.section).c_str(), *button);
  }
  return writer.text;
}

bool IsDrivePath(std::wstring_view path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

// \\server\share with both names, after the leading separators.
bool IsSharePath(std::wstring_view rest) {
  const std::size_t separator = rest.find(L'\\');
  return separator != 0 && separator != std::wstring_view::npos && separator + 1 < rest.size() &&
         rest[separator + 1] != L'\\';
}

bool IsFullPath(std::wstring_view path) {
  if (IsDrivePath(path)) return true;
  if (path.starts_with(L"\\\\?\\UNC\\")) return IsSharePath(path.substr(8));
  if (path.starts_with(L"\\\\?\\")) return IsDrivePath(path.substr(4));
  return path.starts_with(L"\\\\") && IsSharePath(path.substr(2));
}

void CheckStarts(const menu::MenuSettings& settings) {
  const std::vector<std::wstring> languages = {L"de-DE", L"pt", L"en-US"};
  (void)menu::ChooseText(settings.title, languages);
  for (const menu::ButtonRecord& record : menu::kButtons) {
    const std::int16_t index = record.index;
    if (settings.Button(index) == nullptr) continue;
    const menu::ButtonSettings& button = *settings.Button(index);
    (void)menu::ChooseText(button.label, languages);
    for (const wchar_t* folder : {L"E:\\", L"C:\\Menu"}) {
      for (const bool is64 : {false, true}) {
        const menu::ButtonAction action = menu::ResolveButton(button, index, folder, is64);
        if (!action.start) {
          // A button the disc adds with only an Open64 starts nothing on 32-bit Windows.
          const bool given = button.open || (is64 && button.open64);
          if (record.role == menu::ButtonRole::kInstaller ||
              (record.role == menu::ButtonRole::kAdded && given)) {
            Finding("a button starts nothing");
          }
          continue;
        }
        const menu::StartPlan& plan = *action.start;
        if (!plan.isAddress && !IsFullPath(plan.target)) Finding("a target is not a full path");
        if (!plan.isAddress && !plan.workingFolder) Finding("a path has no working folder");
        if (plan.workingFolder && !IsFullPath(*plan.workingFolder)) {
          Finding("a working folder is not a full path");
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const menu::MenuIniParse parse = menu::ParseMenuIni(file);
  if (parse.error.has_value() == parse.errors.empty()) Finding("the first fault is not listed");
  if (parse.error) {
    if (parse.errors.front() != *parse.error) Finding("the menu reports another fault first");
    for (const menu::MenuIniError& error : parse.errors) {
      if (error.reason.empty()) Finding("refused without a reason");
      if (error.line < 0 || static_cast<std::size_t>(error.line) > size + 1) {
        Finding("refused on a line outside the file");
      }
    }
    if (!(parse.settings == menu::MenuSettings{})) Finding("refused, but settings were kept");
    if (menu::MenuIniRunTimeError(L"E:\\menu.ini", *parse.error).Detail().empty()) {
      Finding("an error box without its reason");
    }
    return 0;
  }
  CheckStarts(parse.settings);
  const std::wstring written = Write(parse.settings);
  std::vector<std::uint8_t> utf8;
  std::vector<std::uint8_t> utf16 = {0xFF, 0xFE};
  for (const wchar_t c : written) {
    AppendUtf8(utf8, static_cast<char32_t>(c));
    AppendUtf16(utf16, static_cast<char32_t>(c));
  }
  // Quotes and section lines make the copy longer; only a copy within the limit must read back.
  for (const auto* copy : {&utf8, &utf16}) {
    if (copy->size() > menu::kMenuIniMaxBytes) continue;
    const menu::MenuIniParse again = menu::ParseMenuIni(*copy);
    if (again.error) Finding("settings written out again are refused");
    if (!(again.settings == parse.settings)) Finding("settings written out again read differently");
  }
  return 0;
}
