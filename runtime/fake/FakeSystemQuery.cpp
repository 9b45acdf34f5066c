// The recording stand-in for the system's answers about installed programs.
#include "FakeSystemQuery.h"

namespace rt {

std::wstring FakeSystemQuery::KeyName(RegistryHive hive, const std::wstring& key,
                                      RegistryView view) {
  const wchar_t* views[] = {L"native:", L"64:", L"32:"};
  return views[static_cast<int>(view)] +
         std::wstring(hive == RegistryHive::kLocalMachine ? L"HKLM\\" : L"HKCU\\") + key;
}

RegistryKeyRead FakeSystemQuery::ReadRegistryKey(RegistryHive hive, const std::wstring& key,
                                                 const std::wstring& name, RegistryView view) {
  const std::wstring path = KeyName(hive, key, view);
  asked.push_back(L"key " + path + (name.empty() ? L"" : L" " + name));
  const auto found = keys.find(path);
  if (found == keys.end()) return {};
  const auto value = found->second.find(name);
  if (value == found->second.end()) return {true, std::nullopt};
  return {true, value->second};
}

std::wstring FakeSystemQuery::ExpandEnvironment(const std::wstring& text) {
  asked.push_back(L"expand " + text);
  // As the system does: %NAME% of a variable that is set is replaced, anything else stays.
  std::wstring expanded;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(L'%', at);
    const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    std::wstring name = text.substr(open + 1, close - open - 1);
    for (wchar_t& c : name) {
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    const auto value = environment.find(name);
    expanded += text.substr(at, open - at);
    if (value != environment.end()) {
      expanded += value->second;
      at = close + 1;
    } else {
      expanded += L'%' + text.substr(open + 1, close - open - 1);
      at = close;
    }
  }
  return expanded + text.substr(at);
}

bool FakeSystemQuery::FileExists(const std::wstring& path) {
  asked.push_back(L"file " + path);
  return files.contains(path);
}

std::optional<VersionParts> FakeSystemQuery::FileVersion(const std::wstring& path) {
  asked.push_back(L"version " + path);
  const auto found = fileVersions.find(path);
  if (found == fileVersions.end()) return std::nullopt;
  return found->second;
}

VersionParts FakeSystemQuery::WindowsVersion() {
  asked.push_back(L"windows");
  return windowsVersion;
}

bool FakeSystemQuery::Is64BitWindows() {
  asked.push_back(L"64-bit");
  return is64Bit;
}

}  // namespace rt
