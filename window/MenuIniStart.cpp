// From menu.ini's settings to what the menu does: the text in the user's languages, what a
// button starts and how, and the errors the menu reports about the file.
#include <algorithm>

#include "BitmapCheck.h"
#include "ButtonTable.h"
#include "Decimal.h"
#include "MenuIni.h"
#include "MenuIniSyntax.h"
#include "PathRule.h"
#include "ProgramFolder.h"

namespace menu {

namespace {

std::wstring JoinToFolder(std::wstring_view folder, std::wstring_view relative) {
  std::wstring path(folder);
  if (!HasTrailingSeparator(folder)) path += L'\\';
  path += relative;
  return path;
}

// A path as the system will be given it: forward slashes are separators to Win32 as well, and a
// relative path lies in the program folder.
std::wstring FullPath(std::wstring_view programFolder, std::wstring_view value) {
  std::wstring path(value);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (ini::CheckPath(path, ini::PathUse::kFolder).kind == ini::PathKind::kRelative) {
    return JoinToFolder(programFolder, path);
  }
  return path;
}

const std::wstring* FindTranslation(const LocalizedText& text, std::wstring_view tag) {
  for (const auto& [written, value] : text.translations) {
    if (ini::EqualsIgnoringCase(written, tag)) return &value;
  }
  return nullptr;
}

}  // namespace

std::wstring InstallerPath(std::wstring_view programFolder, std::int16_t index) {
  const ButtonRecord* record = FindButton(index);
  if (record == nullptr || record->installer.empty()) return {};
  std::wstring path(programFolder);
  path += L'\\';
  path += kInstallerFolder;
  path += L'\\';
  path += record->installer;
  return path;
}

std::wstring MenuIniPath(std::wstring_view programFolder) {
  return JoinToFolder(programFolder, kMenuIniFileName);
}

std::optional<std::wstring> ChooseText(const LocalizedText& text,
                                       std::span<const std::wstring> preferred) {
  for (const std::wstring& tag : preferred) {
    if (tag.empty()) continue;
    if (const std::wstring* exact = FindTranslation(text, tag)) return *exact;
    const std::wstring_view language = ini::PrimaryLanguage(tag);
    if (language.size() == tag.size()) continue;
    if (const std::wstring* general = FindTranslation(text, language)) return *general;
  }
  return text.plain;
}

ButtonAction ResolveButton(const ButtonSettings& button, std::int16_t index,
                           std::wstring_view programFolder, bool is64BitWindows) {
  ButtonAction action;
  action.closesMenu = button.afterStart == AfterStart::kClose;
  const std::optional<std::wstring>& open =
      is64BitWindows && button.open64 ? button.open64 : button.open;
  StartPlan plan;
  if (open) {
    plan.isAddress = ini::CheckPath(*open, ini::PathUse::kOpen).kind == ini::PathKind::kAddress;
    plan.target = plan.isAddress ? *open : FullPath(programFolder, *open);
  } else if (std::wstring installer = InstallerPath(programFolder, index); !installer.empty()) {
    plan.target = std::move(installer);
  } else {
    return action;
  }
  plan.arguments = button.arguments;
  if (button.workingFolder) {
    plan.workingFolder = FullPath(programFolder, *button.workingFolder);
  } else if (!plan.isAddress) {
    plan.workingFolder = rt::FolderOfModulePath(plan.target);
  }
  plan.show = button.show;
  action.start = std::move(plan);
  return action;
}

rt::RunTimeError MenuIniRunTimeError(std::wstring_view iniPath, const MenuIniError& error) {
  std::wstring detail = error.reason;
  if (error.line > 0) {
    detail = L"Line " + rt::DecimalText(error.line) + L": " + detail;
  } else if (!detail.empty() && detail[0] >= L'a' && detail[0] <= L'z') {
    detail[0] = static_cast<wchar_t>(detail[0] - L'a' + L'A');
  }
  return rt::RunTimeError(rt::kErrInvalidProcedureCall,
                          rt::AsciiText("Could not read the menu settings"), std::wstring(iniPath),
                          std::move(detail));
}

rt::RunTimeError MenuIniUnreadableError(std::wstring_view iniPath, std::uint32_t systemCode,
                                        std::wstring systemText) {
  rt::RunTimeError error(rt::kErrPathFileAccess, rt::AsciiText("Could not read the menu settings"),
                         std::wstring(iniPath));
  error.WithSystemError(systemCode, std::move(systemText));
  return error;
}

}  // namespace menu
