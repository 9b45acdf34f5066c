// Language tags, the kinds of path and address menu.ini names, and quoting in its messages.
#include "MenuIniSyntax.h"
#include "BitmapCheck.h"

#include <array>

namespace menu::ini {

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

// "https" of "https://example.com": letters, then letters, digits, "+", "-" or "."; two or more
// characters, so that "C:" stays a drive.
std::wstring_view Scheme(std::wstring_view value) {
  const std::size_t colon = value.find(L':');
  if (colon == std::wstring_view::npos || colon < 2 || !IsAsciiLetter(value[0])) return {};
  for (std::size_t i = 1; i < colon; ++i) {
    const wchar_t c = value[i];
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != L'+' && c != L'-' && c != L'.') return {};
  }
  return value.substr(0, colon);
}

bool HasDrive(std::wstring_view path) {
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == L':';
}

// A network path after its \\: a server and a share (\\server\share), and for a file a name
// on the share, since the share's root has no folder to start in.
std::optional<std::wstring> ShareRefusal(std::wstring_view value, std::wstring_view rest,
                                         PathUse use) {
  std::size_t at = 0;
  for (int part = 0; part < (use == PathUse::kOpen ? 3 : 2); ++part) {
    const std::size_t start = at;
    while (at < rest.size() && !IsSeparator(rest[at])) ++at;
    if (at == start) {
      return Quote(value) + (part < 2
                                 ? rt::AsciiText(" names no server and share (\\\\server\\share)")
                                 : rt::AsciiText(" names a share but no file on it"));
    }
    ++at;
  }
  return std::nullopt;
}

PathCheck Refuse(std::wstring reason) { return {PathKind::kRelative, std::move(reason)}; }

PathCheck CheckAddress(std::wstring_view value, std::wstring_view scheme) {
  const std::wstring_view rest = value.substr(scheme.size() + 1);
  if (EqualsIgnoringCase(scheme, L"mailto")) {
    if (rest.empty()) return Refuse(rt::AsciiText("the mailto: address has no recipient"));
    return {PathKind::kAddress, {}};
  }
  if (EqualsIgnoringCase(scheme, L"http") || EqualsIgnoringCase(scheme, L"https")) {
    if (rest.size() < 3 || rest[0] != L'/' || rest[1] != L'/' || rest[2] == L'/') {
      return Refuse(L"the address " + Quote(value) + L" has no host after " + std::wstring(scheme) +
                    L"://");
    }
    return {PathKind::kAddress, {}};
  }
  return Refuse(L"the address scheme " + Quote(std::wstring(scheme) + L":") +
                rt::AsciiText(" is not one the menu opens (https:, http: and mailto:)"));
}

}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::wstring_view Trim(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring_view Unquote(std::wstring_view value) {
  if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool IsLanguageTag(std::wstring_view tag) {
  std::size_t start = 0;
  for (bool first = true;; first = false) {
    const std::size_t hyphen = tag.find(L'-', start);
    const std::wstring_view part = tag.substr(start, hyphen - start);
    if (first ? part.size() < 2 || part.size() > 3 : part.empty() || part.size() > 8) return false;
    for (const wchar_t c : part) {
      if (!IsAsciiLetter(c) && (first || !IsAsciiDigit(c))) return false;
    }
    if (hyphen == std::wstring_view::npos) return true;
    start = hyphen + 1;
  }
}

std::wstring_view PrimaryLanguage(std::wstring_view tag) { return tag.substr(0, tag.find(L'-')); }

PathCheck CheckPath(std::wstring_view value, PathUse use) {
  if (value.empty()) return Refuse(L"the value is empty");
  const std::wstring_view scheme = Scheme(value);
  if (!scheme.empty()) {
    if (use == PathUse::kFolder)
      return Refuse(rt::AsciiText("a working folder is a folder, not an address"));
    return CheckAddress(value, scheme);
  }
  PathKind kind = PathKind::kRelative;
  std::wstring_view path = value;  // the part whose characters must all be allowed in a path
  if (HasDrive(value)) {
    if (value.size() == 2 || !IsSeparator(value[2])) {
      return Refuse(Quote(value) + rt::AsciiText(" is on the current folder of drive ") +
                    std::wstring(value.substr(0, 2)) +
                    rt::AsciiText(", which is not known; write ") +
                    std::wstring(value.substr(0, 2)) + L"\\ and the whole path");
    }
    kind = PathKind::kAbsolute;
    path = value.substr(2);
  } else if (value.size() >= 2 && IsSeparator(value[0]) && IsSeparator(value[1])) {
    kind = PathKind::kAbsolute;
    path = value.substr(2);
    if (path.size() >= 2 && (path[0] == L'?' || path[0] == L'.') && IsSeparator(path[1])) {
      // \\?\ gives a drive's or a share's path in the system's own form; \\.\ names devices.
      path = path.substr(2);
      const bool share =
          path.size() >= 4 && EqualsIgnoringCase(path.substr(0, 3), L"UNC") && IsSeparator(path[3]);
      if (value[2] == L'?' && HasDrive(path) && path.size() > 2 && IsSeparator(path[2])) {
        path = path.substr(2);
      } else if (value[2] == L'?' && share) {
        path = path.substr(4);
        if (auto refusal = ShareRefusal(value, path, use)) return Refuse(*refusal);
      } else {
        return Refuse(Quote(value) + rt::AsciiText(" names neither a drive nor a share after ") +
                      std::wstring(value.substr(0, 4)));
      }
    } else if (auto refusal = ShareRefusal(value, path, use)) {
      return Refuse(*refusal);
    }
  } else if (IsSeparator(value[0])) {
    return Refuse(Quote(value) +
                  rt::AsciiText(" starts at the root of the current drive, which is not known; ") +
                  rt::AsciiText("write it relative to the menu's folder or with its drive"));
  }
  static constexpr std::array<wchar_t, 7> kNotInPaths = {L'<', L'>', L'"', L'|', L'?', L'*', L':'};
  for (const wchar_t c : path) {
    for (const wchar_t refused : kNotInPaths) {
      if (c == refused) {
        return Refuse(Quote(value) + L" holds " + std::wstring(1, c) +
                      rt::AsciiText(", which no path may hold"));
      }
    }
  }
  return {kind, {}};
}

std::wstring Hex(unsigned value, int digits) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text(static_cast<std::size_t>(digits), L'0');
  for (std::size_t i = text.size(); i-- > 0; value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

std::wstring Quote(std::wstring_view text) {
  constexpr std::size_t kShown = 40;
  if (text.size() <= kShown) return L"\"" + std::wstring(text) + L"\"";
  // Where wchar_t is UTF-16, a cut between the two halves of a pair would leave half a character.
  std::size_t shown = kShown;
  if (text[shown - 1] >= 0xD800 && text[shown - 1] <= 0xDBFF) --shown;
  return L"\"" + std::wstring(text.substr(0, shown)) + L"\u2026\"";
}

}  // namespace menu::ini
