// What the system refuses, as the user reads it: the run-time error each refusal is, the form or
// program it names, and the system's own words in the report.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "MenuFixture.h"
#include "RunTimeError.h"

namespace menu {
namespace {

using namespace testing;

TEST(StartProgram, EachRefusalOfTheShellIsTheRunTimeErrorOfItsKind) {
  const struct {
    rt::StartFailure failure;
    int number;
  } cases[] = {
      {{.shellMissing = true, .system = {126, L"The module was not found."}}, rt::kErrFileNotFound},
      {{.shellMissing = true, .system = {}}, rt::kErrFileNotFound},
      {{.system = {2, L"The system cannot find the file specified."}}, rt::kErrFileNotFound},
      {{.system = {3, L"The system cannot find the path specified."}}, rt::kErrFileNotFound},
      {{.system = {5, L"Access is denied."}}, rt::kErrPathFileAccess},
      {{.system = {1223, L"The operation was canceled by the user."}}, rt::kErrPathFileAccess},
      {{.system = {126, L"The module was not found."}}, rt::kErrInvalidProcedureCall},
      {{.system = {1155, L"No application is associated."}}, rt::kErrInvalidProcedureCall},
      {{}, rt::kErrInvalidProcedureCall},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.failure.system.code << " shell missing " << c.failure.shellMissing);
    rt::FakePlatform platform;
    platform.refusedPrograms[L"E:\\setup.exe"] = c.failure;
    rt::StartRequest request;
    request.program = L"E:\\setup.exe";
    try {
      platform.StartProgram(request);
      ADD_FAILURE() << "no error raised";
    } catch (const rt::RunTimeError& error) {
      EXPECT_EQ(error.Number(), c.number);
      EXPECT_EQ(error.Action(), L"Could not start the program");
      EXPECT_EQ(error.Subject(), L"E:\\setup.exe");
      EXPECT_EQ(error.SystemCode(), c.failure.system.code);
    }
    EXPECT_TRUE(platform.started.empty());
  }
}

struct Refusal {
  const char* name;
  std::function<void(rt::FakePlatform&)> refuse;
  int number;
  const wchar_t* action;
  const wchar_t* subject;
  std::uint32_t systemCode;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class StartUpRefusals : public MenuTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(StartUpRefusals, EndStartUpWithTheErrorThatNamesWhatFailed) {
  const Refusal& c = GetParam();
  c.refuse(platform);
  try {
    Module1::Main(platform, form);
    FAIL() << "no error raised";
  } catch (const rt::RunTimeError& error) {
    EXPECT_EQ(error.Number(), c.number);
    EXPECT_EQ(error.Action(), c.action);
    EXPECT_EQ(error.Subject(), c.subject);
    EXPECT_EQ(error.SystemCode(), c.systemCode);
  }
  EXPECT_FALSE(platform.windowShaped);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, StartUpRefusals,
    ::testing::Values(
        Refusal{"window",
                [](rt::FakePlatform& p) {
                  p.windowRefusal = {1400, L"Invalid window handle.\r\n"};
                },
                rt::kErrOutOfMemory, L"Could not create the window", L"frmMain", 1400},
        Refusal{"outline", [](rt::FakePlatform& p) { p.regionsRefused = true; },
                rt::kErrOutOfMemory, L"Could not make the window's outline", L"frmMain", 0},
        Refusal{"resource picture", [](rt::FakePlatform& p) { p.missingResources = {105}; },
                rt::kErrInvalidPicture, L"Could not load the picture", L"resource 105", 1814}),
    [](const ::testing::TestParamInfo<Refusal>& param) {
      std::string name = param.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST(ErrorReport, GivesTheSystemsWordsOnceWithOneFullStop) {
  const struct {
    const wchar_t* text;
    const wchar_t* line;
  } cases[] = {
      {L"The system cannot find the file specified.\r\n",
       L"System error 2: The system cannot find the file specified."},
      {L"Access is denied. \r\n", L"System error 2: Access is denied."},
      {L"No stop", L"System error 2: No stop."},
      {L"Two stops..\n", L"System error 2: Two stops."},
      {L"", L"System error 2: Unknown error."},
      {L"\r\n", L"System error 2: Unknown error."},
  };
  for (const auto& c : cases) {
    rt::RunTimeError error(rt::kErrFileNotFound, L"Could not start the program", L"E:\\x.exe");
    error.WithSystemError({2, c.text});
    const std::wstring report = rt::FormatErrorReport(error);
    EXPECT_EQ(report.substr(report.rfind(L'\n') + 1), c.line) << c.text;
  }
  rt::RunTimeError quiet(rt::kErrFileNotFound, L"Could not start the program", L"E:\\x.exe");
  quiet.WithSystemError(rt::SystemError{});
  EXPECT_EQ(rt::FormatErrorReport(quiet).find(L"System error"), std::wstring::npos);
}

}  // namespace
}  // namespace menu
