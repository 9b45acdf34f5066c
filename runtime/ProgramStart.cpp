// Starting a program: the system's shell does it; which run-time error a refusal is, and its
// words, are decided here, whatever platform starts programs.
#include "BitmapCheck.h"
#include "Platform.h"

namespace rt {

namespace {

// The system's error codes that tell one kind of refusal from another.
constexpr std::uint32_t kSystemFileNotFound = 2;
constexpr std::uint32_t kSystemPathNotFound = 3;
constexpr std::uint32_t kSystemAccessDenied = 5;
constexpr std::uint32_t kSystemCancelled = 1223;  // the user said no, to a prompt for rights

int StartErrorNumber(const StartFailure& failure) {
  if (failure.shellMissing) return kErrFileNotFound;
  switch (failure.system.code) {
    case kSystemFileNotFound:
    case kSystemPathNotFound:
      return kErrFileNotFound;
    case kSystemAccessDenied:
    case kSystemCancelled:
      return kErrPathFileAccess;
    default:
      return kErrInvalidProcedureCall;
  }
}

}  // namespace

void Platform::StartProgram(const StartRequest& request) {
  StartFailure failure;
  if (LaunchProgram(request, failure)) return;
  throw RunTimeError(StartErrorNumber(failure), rt::AsciiText("Could not start the program"),
                     request.program)
      .WithSystemError(failure.system);
}

}  // namespace rt
