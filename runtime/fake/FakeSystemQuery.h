// A stand-in for the system's answers about installed programs: a registry of keys and string
// values per view, environment variables, files with their versions, and the Windows version.
// Every question is logged, so that tests see what was asked and how often.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "SystemQuery.h"

namespace rt {

class FakeSystemQuery : public SystemQuery {
 public:
  // Keys as "view:HIVE\key" ("64:HKLM\SOFTWARE\Tev"), views "native", "64" and "32"; each with
  // its string values.
  std::map<std::wstring, std::map<std::wstring, std::wstring>> keys;
  std::map<std::wstring, std::wstring> environment;  // names in upper case
  std::set<std::wstring> files;
  std::map<std::wstring, VersionParts> fileVersions;
  VersionParts windowsVersion = {10, 0, 19045};
  bool is64Bit = false;
  // "key <path>", "key <path> <name>" (a value asked with it), "expand <text>", "file <path>",
  // "version <path>", "windows", "64-bit", in the order asked.
  std::vector<std::wstring> asked;

  static std::wstring KeyName(RegistryHive hive, const std::wstring& key, RegistryView view);
  void AddKey(RegistryHive hive, const std::wstring& key, RegistryView view,
              std::map<std::wstring, std::wstring> values = {}) {
    keys[KeyName(hive, key, view)] = std::move(values);
  }

  RegistryKeyRead ReadRegistryKey(RegistryHive hive, const std::wstring& key,
                                  const std::wstring& name, RegistryView view) override;
  std::wstring ExpandEnvironment(const std::wstring& text) override;
  bool FileExists(const std::wstring& path) override;
  std::optional<VersionParts> FileVersion(const std::wstring& path) override;
  VersionParts WindowsVersion() override;
  bool Is64BitWindows() override;
};

}  // namespace rt
