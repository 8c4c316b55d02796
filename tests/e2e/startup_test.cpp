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

}  // namespace
}  // namespace slidewell::e2e
