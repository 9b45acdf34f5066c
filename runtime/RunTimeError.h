// The run-time error: what failed, on which file or program, and what the system said about it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace rt {

// What the system said about a call that failed: its own error code and its text for it, as the
// system gave it; code 0 where it said nothing.
struct SystemError {
  std::uint32_t code = 0;
  std::wstring text;
};

// Error numbers of the forms runtime, as users of such programs know them.
enum ErrorNumber : int {
  kErrInvalidProcedureCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrFileNotFound = 53,
  kErrPathFileAccess = 75,
  kErrInvalidPicture = 481,
};

// The standard text for a run-time error number.
std::wstring ErrorDescription(int number);

class RunTimeError : public std::exception {
 public:
  // `action` says what was attempted ("Could not load the picture"), `subject` names the file or
  // program, `detail` gives a plain reason where the runtime found one itself.
  RunTimeError(int number, std::wstring action, std::wstring subject, std::wstring detail = {});

  // Attaches the system's own error code and its text for it.
  RunTimeError& WithSystemError(std::uint32_t code, std::wstring text);
  // The same for what the system said, where it said anything (a code other than 0).
  RunTimeError& WithSystemError(const SystemError& system);

  int Number() const { return number_; }
  const std::wstring& Description() const { return description_; }
  const std::wstring& Action() const { return action_; }
  const std::wstring& Subject() const { return subject_; }
  const std::wstring& Detail() const { return detail_; }
  std::uint32_t SystemCode() const { return systemCode_; }
  const std::wstring& SystemText() const { return systemText_; }

  const char* what() const noexcept override { return "run-time error"; }

 private:
  int number_;
  std::wstring description_;
  std::wstring action_;
  std::wstring subject_;
  std::wstring detail_;
  std::uint32_t systemCode_ = 0;
  std::wstring systemText_;
};

// The text of the message box that reports the error to the user.
std::wstring FormatErrorReport(const RunTimeError& error);

}  // namespace rt
