// The findings of one check and the lookups that make them: each file the menu names, found in the
// folder as Windows finds it, and each picture judged by the menu's own header check.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "FolderNames.h"
#include "SkinCheck.h"

namespace skincheck {

class Report {
 public:
  explicit Report(std::filesystem::path folder) : folder_(std::move(folder)) {}

  const std::filesystem::path& Folder() const { return folder_; }
  Result& Results() { return result_; }

  // `file` is named as the menu names it inside the folder.
  void Add(Severity severity, const std::wstring& file, std::string message);
  // A note when the folder holds the file under a name whose case differs.
  void NoteCase(const std::wstring& name, const Located& located);
  // The file's path when it is there as a file; an error otherwise (missing + `consequence`, or
  // a folder where `notA` belongs).
  std::optional<std::filesystem::path> Find(const std::wstring& name, std::string_view notA,
                                            const std::string& consequence);
  // The picture's size, and its pixels when `keepPixels`; an error where the menu cannot show it.
  std::optional<Image> ReadPicture(const std::wstring& name, bool keepPixels);

 private:
  // A PNG file's size, pixels and alpha, checked and decoded as the menu does.
  std::optional<Image> ReadPng(const std::wstring& name, std::span<const std::uint8_t> file);
  std::filesystem::path folder_;
  Result result_;
};

}  // namespace skincheck
