#include <gtest/gtest.h>

#include "harness/program.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

// Command lines that ask for neither window: nothing opens and the program ends at once, silently.
class CommandLineOpeningNothing : public testing::TestWithParam<const wchar_t*> {};

TEST_P(CommandLineOpeningNothing, EndsWithoutAWindow) {
  RunningProgram program(GetParam());
  ASSERT_TRUE(program.started());
  bool sawWindow = false;
  const bool ended = testing_support::waitUntil(
      [&] {
        sawWindow = sawWindow || program.anyWindow() != nullptr;
        return !program.running();
      },
      10000);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(sawWindow);
  EXPECT_EQ(program.exitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Startup, CommandLineOpeningNothing,
                         testing::Values(L"", L"/p 1234", L"/a 1234", L"-s", L"c", L"/ s", L"/x"));

struct Opening {
  const wchar_t* arguments;
  const wchar_t* window;  // its title
};

// "/s" in any letter case, anywhere, and no "/c": the slide show opens. "/c" anywhere, in any case, and
// before "/s" is looked at: the setup dialog.
class CommandLineOpeningAWindow : public testing::TestWithParam<Opening> {};

TEST_P(CommandLineOpeningAWindow, OpensThatWindow) {
  RunningProgram program(GetParam().arguments);
  ASSERT_TRUE(program.started());
  EXPECT_NE(program.waitForWindow(GetParam().window, 10000), nullptr) << GetParam().arguments;
}

INSTANTIATE_TEST_SUITE_P(Startup, CommandLineOpeningAWindow,
                         testing::Values(Opening{L"/s", L"Form1"}, Opening{L"/S", L"Form1"}, Opening{L"x/sy", L"Form1"},
                                         Opening{L"/screen", L"Form1"}, Opening{L"/c", L"Screen saver"},
                                         Opening{L"/C", L"Screen saver"}, Opening{L"/c:1234", L"Screen saver"},
                                         Opening{L"/s /c", L"Screen saver"}, Opening{L"/c /s", L"Screen saver"}));

}  // namespace
}  // namespace slidewell::e2e
