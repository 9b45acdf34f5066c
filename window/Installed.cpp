// The conditions of a button: versions, key paths, and what the system's answers make of them.
#include "Installed.h"
#include "BitmapCheck.h"

#include <algorithm>
#include <array>

#include "MenuIniSyntax.h"

namespace menu {

namespace {

constexpr std::size_t kMaxParts = 4;
constexpr std::size_t kMaxDigits = 9;  // fits 32 bits

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The dotted numbers at the start of `text` and where they end; none where a part is too long.
std::optional<rt::VersionParts> Parts(std::wstring_view text, std::size_t& end) {
  rt::VersionParts parts;
  std::size_t at = 0;
  for (;;) {
    const std::size_t start = at;
    std::uint32_t value = 0;
    while (at < text.size() && IsDigit(text[at])) {
      if (at - start == kMaxDigits) return std::nullopt;
      value = value * 10 + static_cast<std::uint32_t>(text[at++] - L'0');
    }
    if (at == start) {
      // A dot without a number after it ends the version before the dot.
      if (!parts.empty()) --at;
      break;
    }
    parts.push_back(value);
    if (parts.size() == kMaxParts || at >= text.size() || text[at] != L'.') break;
    ++at;
  }
  end = at;
  if (parts.empty()) return std::nullopt;
  return parts;
}

struct HiveName {
  std::wstring_view name;
  rt::RegistryHive hive;
};
constexpr std::array<HiveName, 4> kHives = {
    {{L"HKLM", rt::RegistryHive::kLocalMachine},
     {L"HKEY_LOCAL_MACHINE", rt::RegistryHive::kLocalMachine},
     {L"HKCU", rt::RegistryHive::kCurrentUser},
     {L"HKEY_CURRENT_USER", rt::RegistryHive::kCurrentUser}}};

bool IsFullPath(std::wstring_view path) {
  return ini::CheckPath(path, ini::PathUse::kOpen).kind == ini::PathKind::kAbsolute;
}

// Whether `version` meets `least`: none read counts as not installed.
bool AtLeast(const std::optional<rt::VersionParts>& version, const rt::VersionParts& least) {
  return version && CompareVersions(*version, least) >= 0;
}

}  // namespace

std::optional<rt::VersionParts> ParseVersion(std::wstring_view text) {
  std::size_t end = 0;
  std::optional<rt::VersionParts> parts = Parts(text, end);
  if (!parts || end != text.size()) return std::nullopt;
  return parts;
}

std::optional<rt::VersionParts> LeadingVersion(std::wstring_view text) {
  std::size_t end = 0;
  return Parts(ini::Trim(text), end);
}

int CompareVersions(const rt::VersionParts& a, const rt::VersionParts& b) {
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::uint32_t left = i < a.size() ? a[i] : 0;
    const std::uint32_t right = i < b.size() ? b[i] : 0;
    if (left != right) return left < right ? -1 : 1;
  }
  return 0;
}

KeyPathCheck ParseKeyPath(std::wstring_view text) {
  const std::wstring quoted = ini::Quote(text);
  if (text.empty()) return {std::nullopt, L"the key path is empty"};
  const std::size_t slash = text.find(L'\\');
  const std::wstring_view hiveName = text.substr(0, slash);
  const auto hive = std::find_if(kHives.begin(), kHives.end(), [&](const HiveName& known) {
    return ini::EqualsIgnoringCase(hiveName, known.name);
  });
  if (hive == kHives.end()) {
    return {std::nullopt,
            quoted + rt::AsciiText(" does not start with HKLM, HKCU, HKEY_LOCAL_MACHINE or "
                                   "HKEY_CURRENT_USER and a backslash")};
  }
  const std::wstring_view key =
      slash == std::wstring_view::npos ? std::wstring_view() : text.substr(slash + 1);
  if (key.empty()) return {std::nullopt, quoted + rt::AsciiText(" names no key below its hive")};
  if (key.back() == L'\\') return {std::nullopt, quoted + rt::AsciiText(" ends with a backslash")};
  if (key.find(L"\\\\") != std::wstring_view::npos || key.front() == L'\\') {
    return {std::nullopt, quoted + rt::AsciiText(" has an empty name between two backslashes")};
  }
  return {RegistryKeyPath{hive->hive, std::wstring(key)}, {}};
}

std::vector<rt::RegistryView> ViewsOf(bool is64BitWindows) {
  if (!is64BitWindows) return {rt::RegistryView::kNative};
  return {rt::RegistryView::k64Bit, rt::RegistryView::k32Bit};
}

bool IsInstalled(const ButtonSettings& button, rt::SystemQuery& system) {
  if (!button.HasInstalledCondition()) return false;
  std::optional<rt::VersionParts> version;
  if (button.installedKey) {
    const RegistryKeyPath& path = *button.installedKey;
    bool found = false;
    for (const rt::RegistryView view : ViewsOf(system.Is64BitWindows())) {
      const rt::RegistryKeyRead read = system.ReadRegistryKey(
          path.hive, path.key, button.installedVersion ? L"DisplayVersion" : L"", view);
      if (!read.exists) continue;
      found = true;
      if (!button.installedVersion) break;
      const std::optional<rt::VersionParts> written =
          read.value ? LeadingVersion(*read.value) : std::nullopt;
      // Where both views have the key, the newer version counts: the other view is asked only
      // while this one's does not meet the version.
      if (written && (!version || CompareVersions(*written, *version) > 0)) version = written;
      if (AtLeast(version, *button.installedVersion)) break;
    }
    if (!found) return false;
  }
  if (button.installedFile) {
    const std::wstring path = system.ExpandEnvironment(*button.installedFile);
    if (!IsFullPath(path) || !system.FileExists(path)) return false;
    if (button.installedVersion && !version) version = system.FileVersion(path);
  }
  return !button.installedVersion || AtLeast(version, *button.installedVersion);
}

bool IsAvailable(const ButtonSettings& button, rt::SystemQuery& system) {
  if (button.requires64Bit && !system.Is64BitWindows()) return false;
  return !button.requiresWindows || AtLeast(system.WindowsVersion(), *button.requiresWindows);
}

ButtonState StateOf(const ButtonSettings* button, rt::SystemQuery& system) {
  if (button == nullptr) return ButtonState::kNormal;
  if (button->HasRequirement() && !IsAvailable(*button, system)) {
    return button->whenUnavailable == WhenUnavailable::kHide ? ButtonState::kHidden
                                                             : ButtonState::kUnavailable;
  }
  if (!IsInstalled(*button, system)) return ButtonState::kNormal;
  switch (button->whenInstalled) {
    case WhenInstalled::kMark:
      return ButtonState::kInstalled;
    case WhenInstalled::kDisable:
      return ButtonState::kInstalledDisabled;
    case WhenInstalled::kHide:
      return ButtonState::kHidden;
  }
  return ButtonState::kNormal;
}

}  // namespace menu
