// What the system says about installed programs and about itself: the registry opened for
// reading only, files and their version resources, the environment, the Windows version as the
// kernel reports it. advapi32 and version are loaded from the system folder when first asked,
// so that a menu without conditions loads neither.
#pragma once

#include <windows.h>

#include "SystemQuery.h"

namespace rt::win32 {

class Win32SystemQuery : public SystemQuery {
 public:
  RegistryKeyRead ReadRegistryKey(RegistryHive hive, const std::wstring& key,
                                  const std::wstring& name, RegistryView view) override;
  std::wstring ExpandEnvironment(const std::wstring& text) override;
  bool FileExists(const std::wstring& path) override;
  std::optional<VersionParts> FileVersion(const std::wstring& path) override;
  VersionParts WindowsVersion() override;
  bool Is64BitWindows() override;
};

}  // namespace rt::win32
