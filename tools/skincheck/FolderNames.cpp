// Texts and file names: UTF-8 for the report, and the lookup that ignores case as Windows does.
#include "FolderNames.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace skincheck {

namespace fs = std::filesystem;

namespace {

template <typename Char>
Char Lower(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Text>
bool SameIgnoringCase(const Text& a, const Text& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](auto x, auto y) { return Lower(x) == Lower(y); });
}

}  // namespace

std::string Utf8(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto code = static_cast<std::uint32_t>(text[i]);
    // UTF-16 surrogate pairs where wchar_t is 16 bits wide.
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
      const auto low = static_cast<std::uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (code >= 0xD800 && code < 0xE000) code = 0xFFFD;  // a lone surrogate
    auto put = [&](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (code < 0x80) {
      put(code);
    } else if (code < 0x800) {
      put(0xC0 | (code >> 6));
      put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      put(0xE0 | (code >> 12));
      put(0x80 | ((code >> 6) & 0x3F));
      put(0x80 | (code & 0x3F));
    } else {
      put(0xF0 | (code >> 18));
      put(0x80 | ((code >> 12) & 0x3F));
      put(0x80 | ((code >> 6) & 0x3F));
      put(0x80 | (code & 0x3F));
    }
  }
  return out;
}

std::string PathText(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::wstring Relative(std::wstring path) {
  const std::size_t start = path.find_first_not_of(L'\\');
  return start == std::wstring::npos ? std::wstring() : path.substr(start);
}

Located Locate(const fs::path& folder, std::wstring_view name) {
  Located result{folder};
  std::size_t start = 0;
  while (start < name.size()) {
    std::size_t end = name.find(L'\\', start);
    if (end == std::wstring_view::npos) end = name.size();
    const fs::path part(std::wstring(name.substr(start, end - start)));
    start = end + 1;
    if (part.empty()) continue;
    std::error_code error;
    fs::path next = result.path / part;
    if (!fs::exists(next, error)) {
      bool matched = false;
      for (fs::directory_iterator it(result.path, error), last; !error && it != last;
           it.increment(error)) {
        if (SameIgnoringCase(it->path().filename().native(), part.native())) {
          next = it->path();
          matched = true;
          break;
        }
      }
      if (!matched) {
        result.path = next;
        return result;
      }
      result.caseDiffers = true;
    }
    result.path = next;
  }
  result.found = true;
  return result;
}

}  // namespace skincheck
