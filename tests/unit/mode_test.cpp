#include "startup/mode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace slidewell::startup {
namespace {

struct Case {
  const wchar_t* arguments;
  Mode expected;
};

class ChooseMode : public testing::TestWithParam<Case> {};

TEST_P(ChooseMode, FollowsTheCommandLine) { EXPECT_EQ(chooseMode(GetParam().arguments), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(CommandLines, ChooseMode,
                         testing::Values(
                             // Show
                             Case{L"/s", Mode::Show}, Case{L"/S", Mode::Show}, Case{L"  /s  ", Mode::Show},
                             Case{L"x/sy", Mode::Show}, Case{L"/screen", Mode::Show}, Case{L"/p 123 /s", Mode::Show},
                             // Setup wins over show, wherever each stands
                             Case{L"/c", Mode::Setup}, Case{L"/C", Mode::Setup}, Case{L"/c:1234", Mode::Setup},
                             Case{L"/C:66050", Mode::Setup}, Case{L"/s /c", Mode::Setup}, Case{L"/c /s", Mode::Setup},
                             Case{L"/S/C", Mode::Setup}, Case{L"abc/config", Mode::Setup},
                             // Nothing
                             Case{L"", Mode::None}, Case{L"/p 1234", Mode::None}, Case{L"/a 1234", Mode::None},
                             Case{L"-s", Mode::None}, Case{L"s", Mode::None}, Case{L"c", Mode::None},
                             Case{L"-c", Mode::None}, Case{L"/", Mode::None}, Case{L"/ s", Mode::None},
                             Case{L"\\s", Mode::None},
                             // Look-alikes of s and c outside ASCII do not count
                             Case{L"/\u0455", Mode::None}, Case{L"/\u0441", Mode::None}));

TEST(ChooseModeText, IsNotCutAtAnEmbeddedNul) {
  const wchar_t text[] = {L'x', L'\0', L'/', L's'};
  EXPECT_EQ(chooseMode(std::wstring_view(text, 4)), Mode::Show);
}

struct OwnerCase {
  const wchar_t* arguments;
  std::optional<std::uint32_t> expected;
};

class SetupOwner : public testing::TestWithParam<OwnerCase> {};

TEST_P(SetupOwner, IsTheNumberRightAfterTheFirstSetupSwitch) {
  EXPECT_EQ(setupOwner(GetParam().arguments), GetParam().expected) << testing::PrintToString(GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SetupOwner,
                         testing::Values(OwnerCase{L"/c:1234", 1234u}, OwnerCase{L"/C:66050", 66050u},
                                         OwnerCase{L"/s /c:7 /p 9", 7u}, OwnerCase{L"/c:12x", 12u},
                                         OwnerCase{L"/c:4294967295", 4294967295u},
                                         // No number where the first "/c" stands
                                         OwnerCase{L"/c", std::nullopt}, OwnerCase{L"/c:", std::nullopt},
                                         OwnerCase{L"/c 1234", std::nullopt}, OwnerCase{L"/c:-5", std::nullopt},
                                         OwnerCase{L"/c:abc", std::nullopt}, OwnerCase{L"/c /c:5", std::nullopt},
                                         OwnerCase{L"/config:5", std::nullopt}, OwnerCase{L"/s:5", std::nullopt},
                                         OwnerCase{L"/c:4294967296", std::nullopt},
                                         OwnerCase{L"/c:99999999999999999999999", std::nullopt},
                                         // Digits outside ASCII do not count
                                         OwnerCase{L"/c:\u0661", std::nullopt}));

}  // namespace
}  // namespace slidewell::startup
