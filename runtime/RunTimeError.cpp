// Run-time errors and the text that reports them.
#include "RunTimeError.h"
#include "BitmapCheck.h"

#include <utility>

#include "Decimal.h"

namespace rt {

std::wstring ErrorDescription(int number) {
  switch (number) {
    case kErrInvalidProcedureCall:
      return rt::AsciiText("Invalid procedure call or argument");
    case kErrOverflow:
      return L"Overflow";
    case kErrOutOfMemory:
      return L"Out of memory";
    case kErrFileNotFound:
      return L"File not found";
    case kErrPathFileAccess:
      return rt::AsciiText("Path/File access error");
    case kErrInvalidPicture:
      return L"Invalid picture";
    default:
      return rt::AsciiText("Application-defined or object-defined error");
  }
}

RunTimeError::RunTimeError(int number, std::wstring action, std::wstring subject,
                           std::wstring detail)
    : number_(number),
      description_(ErrorDescription(number)),
      action_(std::move(action)),
      subject_(std::move(subject)),
      detail_(std::move(detail)) {}

RunTimeError& RunTimeError::WithSystemError(std::uint32_t code, std::wstring text) {
  systemCode_ = code;
  systemText_ = std::move(text);
  return *this;
}

RunTimeError& RunTimeError::WithSystemError(const SystemError& system) {
  return system.code != 0 ? WithSystemError(system.code, system.text) : *this;
}

namespace {

// System messages end in a full stop and a line break: the report puts its own full stop, and a
// line break would leave a gap in the box.
std::wstring TrimTrailingSpaceAndStops(std::wstring text) {
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::wstring FormatErrorReport(const RunTimeError& error) {
  std::wstring text =
      L"Run-time error '" + rt::DecimalText(error.Number()) + L"':\n" + error.Description() + L"\n";
  if (!error.Action().empty() || !error.Subject().empty()) {
    text += L"\n" + error.Action();
    if (!error.Subject().empty()) text += L"\n" + error.Subject();
    text += L"\n";
  }
  if (!error.Detail().empty()) text += L"\n" + error.Detail() + L"\n";
  if (error.SystemCode() != 0) {
    text += L"\nSystem error " + rt::DecimalText(error.SystemCode());
    const std::wstring systemText = TrimTrailingSpaceAndStops(error.SystemText());
    text += L": " + (systemText.empty() ? std::wstring(L"Unknown error") : systemText) + L".";
    text += L"\n";
  }
  while (!text.empty() && text.back() == L'\n') text.pop_back();
  return text;
}

}  // namespace rt
