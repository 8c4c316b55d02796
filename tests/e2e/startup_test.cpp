#include <gtest/gtest.h>

#include "harness/program.h"
#include "harness/wait.h"

namespace slidewell::e2e {
namespace {

// Command lines that ask for neither window: nothing opens and the program ends at once, silently.
class CommandLineOpeningNothing : public testing::TestWithParam<const wchar_t*> {};

TEST_P(CommandLineOpeningNothing, EndsWithoutAWindow) {
  RunningProgram program(GetParam());
  ASSERT_TRUE(program.started());
  bool sawWindow = false;
  const bool ended = waitUntil([&] {
    sawWindow = sawWindow || program.anyWindow() != nullptr;
    return !program.running();
  }, 10000);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(sawWindow);
  EXPECT_EQ(program.exitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Startup, CommandLineOpeningNothing,
                         testing::Values(L"", L"/p 1234", L"/a 1234", L"-s", L"c", L"/ s", L"/x"));

// "/s" in any letter case, anywhere, and no "/c": the slide show opens.
class CommandLineOpeningTheShow : public testing::TestWithParam<const wchar_t*> {};

TEST_P(CommandLineOpeningTheShow, OpensTheShowWindow) {
  RunningProgram program(GetParam());
  ASSERT_TRUE(program.started());
  EXPECT_NE(program.waitForWindow(L"Form1", 10000), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Startup, CommandLineOpeningTheShow, testing::Values(L"/s", L"/S", L"x/sy", L"/screen"));

// Command lines that ask for the setup dialog: "/c" anywhere, in any case, and before "/s" is looked at.
class CommandLineOpeningSetup : public testing::TestWithParam<const wchar_t*> {};

TEST_P(CommandLineOpeningSetup, OpensTheScreenSaverDialog) {
  RunningProgram program(GetParam());
  ASSERT_TRUE(program.started());
  EXPECT_NE(program.waitForWindow(L"Screen saver", 10000), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Startup, CommandLineOpeningSetup,
                         testing::Values(L"/c", L"/C", L"/c:1234", L"/s /c", L"/c /s"));

}  // namespace
}  // namespace slidewell::e2e
