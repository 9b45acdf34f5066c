// menu.ini's bytes as text: the size limit, the byte-order marks, and strict UTF-8 and UTF-16 LE
// decoding that refuses every sequence a lenient decoder would turn into something else.
#include <algorithm>

#include "BitmapCheck.h"
#include "Decimal.h"
#include "MenuIni.h"
#include "MenuIniSyntax.h"

namespace menu {

namespace {

using ini::Hex;
using Bytes = std::span<const std::uint8_t>;

// The line a fault at byte `at` lies on: one more than the line feeds before it. In UTF-16 LE a
// line feed is the unit 0A 00; its first byte is the one to count.
int LineAt(Bytes bytes, std::size_t at, std::size_t start, std::size_t unit) {
  int line = 1;
  for (std::size_t i = start; i + unit <= at; i += unit) {
    if (bytes[i] == 0x0A && (unit == 1 || bytes[i + 1] == 0)) ++line;
  }
  return line;
}

MenuIniText Fault(int line, std::wstring reason) {
  MenuIniText result;
  result.error = MenuIniError{line, std::move(reason)};
  return result;
}

void Append(std::wstring& text, char32_t codePoint) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (codePoint >= 0x10000) {
      const char32_t offset = codePoint - 0x10000;
      text += static_cast<wchar_t>(0xD800 + (offset >> 10));
      text += static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
      return;
    }
  }
  text += static_cast<wchar_t>(codePoint);
}

const char kNulReason[] =
    "the text holds a NUL character (UTF-16 text needs its byte-order mark FF FE)";

MenuIniText DecodeUtf8(Bytes bytes, std::size_t start) {
  MenuIniText result;
  result.text.reserve(bytes.size() - start);
  std::size_t at = start;
  while (at < bytes.size()) {
    const std::uint8_t lead = bytes[at];
    auto fault = [&](const std::wstring& what) {
      return Fault(LineAt(bytes, at, start, 1), L"invalid UTF-8: " + what);
    };
    auto sequenceFault = [&](std::wstring_view what) {
      return fault(rt::AsciiText("the sequence that starts with byte ") + Hex(lead, 2) +
                   std::wstring(what));
    };
    if (lead == 0) return Fault(LineAt(bytes, at, start, 1), rt::AsciiText(kNulReason));
    if (lead < 0x80) {
      result.text += static_cast<wchar_t>(lead);
      ++at;
      continue;
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t least = 0;
    if (lead >= 0xC0 && lead <= 0xDF) {
      length = 2, codePoint = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, codePoint = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, codePoint = lead & 0x07u, least = 0x10000;
    } else if (lead < 0xC0) {
      return fault(L"byte " + Hex(lead, 2) +
                   rt::AsciiText(" continues a sequence that never started"));
    } else {
      return fault(L"byte " + Hex(lead, 2) + rt::AsciiText(" never occurs in UTF-8"));
    }
    if (bytes.size() - at < length)
      return sequenceFault(rt::AsciiText(" is cut short by the end of the file"));
    for (std::size_t i = 1; i < length; ++i) {
      const std::uint8_t next = bytes[at + i];
      if ((next & 0xC0) != 0x80) return sequenceFault(L" is cut short");
      codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < least) return sequenceFault(rt::AsciiText(" is an overlong encoding"));
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      return sequenceFault(rt::AsciiText(" encodes the surrogate U+") +
                           Hex(static_cast<unsigned>(codePoint), 4));
    }
    if (codePoint > 0x10FFFF)
      return sequenceFault(rt::AsciiText(" encodes a value beyond U+10FFFF"));
    Append(result.text, codePoint);
    at += length;
  }
  return result;
}

MenuIniText DecodeUtf16(Bytes bytes) {
  constexpr std::size_t kStart = 2;
  if (bytes.size() % 2 != 0) {
    return Fault(LineAt(bytes, bytes.size() - 1, kStart, 2),
                 rt::AsciiText("invalid UTF-16: the file ends in the middle of a character"));
  }
  MenuIniText result;
  result.text.reserve((bytes.size() - kStart) / 2);
  auto unitAt = [&](std::size_t at) {
    return static_cast<char32_t>(bytes[at] | (bytes[at + 1] << 8));
  };
  for (std::size_t at = kStart; at < bytes.size(); at += 2) {
    const char32_t unit = unitAt(at);
    if (unit == 0) return Fault(LineAt(bytes, at, kStart, 2), rt::AsciiText(kNulReason));
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return Fault(LineAt(bytes, at, kStart, 2),
                   rt::AsciiText("invalid UTF-16: a low surrogate, ") +
                       Hex(static_cast<unsigned>(unit), 4) +
                       rt::AsciiText(", without a high surrogate before it"));
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const char32_t low = at + 3 < bytes.size() ? unitAt(at + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) {
        return Fault(LineAt(bytes, at, kStart, 2),
                     rt::AsciiText("invalid UTF-16: a high surrogate, ") +
                         Hex(static_cast<unsigned>(unit), 4) +
                         rt::AsciiText(", without a low surrogate after it"));
      }
      Append(result.text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
      at += 2;
      continue;
    }
    result.text += static_cast<wchar_t>(unit);
  }
  return result;
}

bool StartsWith(Bytes bytes, std::initializer_list<std::uint8_t> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

}  // namespace

MenuIniError MenuIniSizeError(std::uint64_t size) {
  return {0, L"the file has " + rt::DecimalText(size) + rt::AsciiText(" bytes, more than the ") +
                 rt::DecimalText(kMenuIniMaxBytes) + L" it may have"};
}

MenuIniText DecodeMenuIniText(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMenuIniMaxBytes) return {{}, MenuIniSizeError(bytes.size())};
  if (StartsWith(bytes, {0xFF, 0xFE, 0x00, 0x00})) {
    return Fault(1, rt::AsciiText("the text is UTF-32; save it as UTF-8 or UTF-16 LE"));
  }
  if (StartsWith(bytes, {0xFE, 0xFF})) {
    return Fault(1, rt::AsciiText("the text is UTF-16 big-endian; save it as UTF-8 or UTF-16 LE"));
  }
  if (StartsWith(bytes, {0xFF, 0xFE})) return DecodeUtf16(bytes);
  return DecodeUtf8(bytes, StartsWith(bytes, {0xEF, 0xBB, 0xBF}) ? 3 : 0);
}

}  // namespace menu
