// menu.ini read through the platform's files: missing is fine, anything else wrong is an error.
#include "MenuSettingsFile.h"

#include <memory>
#include <vector>

namespace menu {

MenuSettings ReadMenuSettings(rt::Platform& platform) {
  const std::wstring path = MenuIniPath(platform.ProgramFolder());
  rt::OpenFailure failure;
  const std::unique_ptr<rt::ReadableFile> file = platform.OpenFile(path, failure);
  if (!file) {
    if (failure.missing) return {};
    throw MenuIniUnreadableError(path, failure.system.code, failure.system.text);
  }
  // A file too large is refused before it is read.
  if (file->Size() > kMenuIniMaxBytes) {
    throw MenuIniRunTimeError(path, MenuIniSizeError(file->Size()));
  }
  std::vector<std::uint8_t> bytes;
  rt::SystemError error;
  if (!file->ReadAll(bytes, error)) throw MenuIniUnreadableError(path, error.code, error.text);
  MenuIniParse parsed = ParseMenuIni(bytes);
  if (parsed.error) throw MenuIniRunTimeError(path, *parsed.error);
  return std::move(parsed.settings);
}

}  // namespace menu
