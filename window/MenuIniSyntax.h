// Pieces of menu.ini's syntax shared by its parser and the resolution of what a button starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace menu::ini {

// ASCII letters compare without case; every other character exactly.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

// `text` without the spaces and tabs around it.
std::wstring_view Trim(std::wstring_view text);

// A value in quotes keeps the spaces inside them; the one pair of quotes around it goes. A value
// that only starts or only ends with a quote is kept as it is ("C:\My Files" /S).
std::wstring_view Unquote(std::wstring_view value);

// Language tags as GetUserPreferredUILanguages writes them: a primary language of two or three
// letters, then subtags of one to eight letters or digits, each after a hyphen (de, pt-BR,
// zh-Hant-TW, sr-Latn).
bool IsLanguageTag(std::wstring_view tag);

// The primary language of a tag ("pt" of "pt-BR").
std::wstring_view PrimaryLanguage(std::wstring_view tag);

enum class PathKind { kRelative, kAbsolute, kAddress };

// What a path value is for: Open and Open64 name a file, a folder or an address; WorkingFolder a
// folder.
enum class PathUse { kOpen, kFolder };

// The kind of a path value, or the reason it is refused: an address other than https:, http: or
// mailto:, a path on a drive's current folder (C:setup.exe) or on the current drive's root
// (\setup.exe), a network path without server and share (or, to open, a file on the share), a
// \\?\ path without a drive or share after it, characters no path holds.
struct PathCheck {
  PathKind kind = PathKind::kRelative;
  std::optional<std::wstring> refusal;
};
PathCheck CheckPath(std::wstring_view value, PathUse use);

// `value` in `digits` upper-case hexadecimal digits ("00AD").
std::wstring Hex(unsigned value, int digits);

// `text` in quotes for a message, shortened to its first 40 characters.
std::wstring Quote(std::wstring_view text);

}  // namespace menu::ini
