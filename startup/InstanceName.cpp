// The mutex name of a program file: its path reduced to one spelling, then hashed.
#include "InstanceName.h"

#include <cstdint>
#include <vector>

namespace menu {
namespace {

constexpr std::wstring_view kNamePrefix = L"Local\\LauncherMenu.";

// The capital of a small letter of the Latin, Greek or Cyrillic alphabet; anything else as it is.
// Windows compares file names through an upper-case table, so a path that differs only in case
// names the same program file.
char32_t UpperCase(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
      (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F) ||
      (c >= 0xFF41 && c <= 0xFF5A)) {
    return c - 0x20;
  }
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;  // the final sigma
  // Greek small letters with an accent.
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  // Latin Extended-A pairs each capital with the small letter after it; from U+0139 to U+0148
  // and from U+0179 on the capital has the odd number. U+0131, the dotless i, has no capital
  // of its own in this block.
  if ((c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177)) {
    return (c & 1) != 0 ? c - 1 : c;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return (c & 1) != 0 ? c : c - 1;
  }
  return c;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The file system drops dots and spaces at the end of a name: "menu.exe." opens menu.exe.
std::wstring_view TrimName(std::wstring_view name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.remove_suffix(1);
  return name;
}

// FNV-1a over the path's UTF-16 code units, low byte first: the same value whatever the width
// of wchar_t on the machine that computes it.
std::uint64_t Hash(std::wstring_view text) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  auto add = [&hash](std::uint32_t unit) {
    for (std::uint32_t byte : {unit & 0xFFu, unit >> 8}) {
      hash ^= byte;
      hash *= 0x100000001B3ull;
    }
  };
  for (wchar_t c : text) {
    const auto point = static_cast<std::uint32_t>(c);
    if (point > 0xFFFF) {
      add(0xD800 + ((point - 0x10000) >> 10));
      add(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      add(point);
    }
  }
  return hash;
}

}  // namespace

std::wstring CanonicalProgramPath(std::wstring_view path) {
  std::wstring text(path);
  for (wchar_t& c : text) {
    if (c == L'/') c = L'\\';
  }
  std::wstring_view rest = text;
  std::wstring root;
  bool unc = false;
  if (StartsWith(rest, L"\\\\?\\UNC\\")) {
    rest.remove_prefix(8);
    unc = true;
  } else if (StartsWith(rest, L"\\\\?\\") || StartsWith(rest, L"\\??\\")) {
    rest.remove_prefix(4);
  } else if (StartsWith(rest, L"\\\\")) {
    rest.remove_prefix(2);
    unc = true;
  }
  if (unc) {
    root = L"\\\\";
  } else if (rest.size() >= 2 && rest[1] == L':') {
    root = std::wstring(rest.substr(0, 2)) + L"\\";
    rest.remove_prefix(2);
  }

  // A share's server and name are the root of its paths: ".." does not climb above them.
  const std::size_t fixed = unc ? 2 : 0;
  std::vector<std::wstring_view> names;
  while (!rest.empty()) {
    const std::size_t end = rest.find(L'\\');
    const std::wstring_view segment = rest.substr(0, end);
    rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end + 1);
    if (segment == L"..") {
      if (names.size() > fixed) names.pop_back();
      continue;
    }
    const std::wstring_view name = TrimName(segment);
    if (!name.empty()) names.push_back(name);
  }

  std::wstring canonical = root;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) canonical += L'\\';
    canonical += names[i];
  }
  for (wchar_t& c : canonical) {
    c = static_cast<wchar_t>(UpperCase(static_cast<char32_t>(c)));
  }
  return canonical;
}

std::wstring InstanceMutexName(std::wstring_view path) {
  std::uint64_t hash = Hash(CanonicalProgramPath(path));
  std::wstring name(kNamePrefix);
  name.resize(kNamePrefix.size() + 16);
  for (std::size_t i = name.size(); i-- > kNamePrefix.size(); hash >>= 4) {
    name[i] = L"0123456789abcdef"[hash & 0xF];
  }
  return name;
}

}  // namespace menu
