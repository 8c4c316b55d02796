#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/dialog_case.h"
#include "harness/input.h"
#include "harness/program.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "harness/setup_window.h"
#include "settings/settings_store.h"
#include "setup/dialog/dialog_layout.h"
#include "temp_tree.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

using setup::ControlId;

constexpr DWORD kWaitMs = 5000;

using settings::pictureKey;

// Each case starts from no configuration, with a folder of bitmaps where the dialog opens.
class ConfigurationTest : public DialogCase {
 protected:
  void SetUp() override {
    DialogCase::SetUp();
    for (const auto& [name, colour] : {std::pair{L"blue.bmp", kBlue}, {L"green.bmp", kGreen}, {L"red.bmp", kRed}}) {
      ASSERT_TRUE(
          testing_support::writeFileBytes(folder_.pathOf(name), testing_support::solidBmpBytes(48, 36, colour)));
    }
    ASSERT_TRUE(CreateDirectoryW(folder_.pathOf(L"sub").c_str(), nullptr));
  }
  void TearDown() override {
    setup_.reset();
    DialogCase::TearDown();
  }

  void open(const std::wstring& where) {
    setup_ = std::make_unique<SetupWindow>(where);
    ASSERT_TRUE(setup_->opened());
  }
  void open() { open(folder_.path()); }

  // "OK", and the program ends at once.
  void pressOk() {
    setup_->click(ControlId::Ok);
    EXPECT_TRUE(endsWithCodeZero(setup_->program(), kWaitMs));
  }

  // "OK" leaves the store with `pictures` under the first picture keys, the empty string under the rest up
  // to 100, the interval, the test's folder and `drive`.
  void expectOkSaves(const std::vector<std::wstring>& pictures, const std::wstring& interval,
                     const std::wstring& drive) {
    std::map<std::wstring, std::wstring> expected{{L"temps", interval}, {L"dir", folder_.path()}, {L"drive", drive}};
    for (std::size_t i = 0; i <= 100; ++i) {
      expected[pictureKey(static_cast<int>(i))] = i < pictures.size() ? pictures[i] : L"";
    }
    ASSERT_NO_FATAL_FAILURE(pressOk());
    EXPECT_EQ(allSettings(), expected);
  }

  // The browser where the dialog opened: the test's folder on drive C:, with its three bitmaps.
  void expectBrowserInTheFolder() const {
    EXPECT_EQ(setup_->folderPath(), folder_.path());
    EXPECT_EQ(setup_->driveText().substr(0, 2), L"c:");
    EXPECT_EQ(setup_->entries(ControlId::Files), (std::vector<std::wstring>{L"blue.bmp", L"green.bmp", L"red.bmp"}));
  }

  void addFile(const std::wstring& name) {
    const std::size_t before = setup_->entries(ControlId::PictureList).size();
    setup_->doubleClickEntry(ControlId::Files, setup_->fileIndex(name));
    ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->entries(ControlId::PictureList).size() == before + 1; },
                                           kWaitMs));
  }

  void setInterval(const std::wstring& text) {
    SendMessageW(setup_->control(ControlId::Interval), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  testing_support::TempTree folder_;
  std::unique_ptr<SetupWindow> setup_;
};

TEST_F(ConfigurationTest, AFirstRunShowsAnEmptyListThreeSecondsAndTheBrowserWhereItOpened) {
  ASSERT_NO_FATAL_FAILURE(open());
  EXPECT_TRUE(setup_->entries(ControlId::PictureList).empty());
  EXPECT_EQ(setup_->text(ControlId::Interval), L"3");
  expectBrowserInTheFolder();
  EXPECT_FALSE(IsWindowVisible(setup_->control(ControlId::Progress)));
  EXPECT_EQ(SendMessageW(setup_->control(ControlId::Progress), PBM_GETPOS, 0, 0), 0);
}

TEST_F(ConfigurationTest, SavingAnEmptyListWritesTheEmptyStringUnderEveryPictureKey) {
  ASSERT_NO_FATAL_FAILURE(open());
  expectOkSaves({}, L"3", setup_->driveText());
}

TEST_F(ConfigurationTest, NinetyNineStoredPicturesLoadWholeAndSaveBackWhole) {
  std::vector<std::wstring> stored;
  for (int i = 0; i < 99; ++i) stored.push_back(L"C:\\pictures\\" + std::to_wstring(i) + L".bmp");
  writePictureList(stored);
  ASSERT_NO_FATAL_FAILURE(open());
  EXPECT_EQ(setup_->entries(ControlId::PictureList), stored);
  expectOkSaves(stored, L"3", setup_->driveText());
}

TEST_F(ConfigurationTest, AStoredGapIsSkippedOnLoadAndClosedOnSave) {
  writeSetting(pictureKey(0), L"C:\\a.bmp");
  writeSetting(pictureKey(1), L"");
  writeSetting(pictureKey(2), L"C:\\b.bmp");
  writeSetting(pictureKey(100), L"C:\\c.bmp");
  ASSERT_NO_FATAL_FAILURE(open());
  const std::vector<std::wstring> loaded{L"C:\\a.bmp", L"C:\\b.bmp", L"C:\\c.bmp"};
  EXPECT_EQ(setup_->entries(ControlId::PictureList), loaded);
  expectOkSaves(loaded, L"3", setup_->driveText());
}

class IntervalAsTyped : public ConfigurationTest, public testing::WithParamInterface<std::wstring> {};

TEST_P(IntervalAsTyped, IsSavedAndReadBackUnchanged) {
  ASSERT_NO_FATAL_FAILURE(open());
  setInterval(GetParam());
  ASSERT_NO_FATAL_FAILURE(pressOk());
  EXPECT_EQ(readSetting(L"temps"), GetParam());

  ASSERT_NO_FATAL_FAILURE(open());
  EXPECT_EQ(setup_->text(ControlId::Interval), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Texts, IntervalAsTyped, testing::Values(L"", L"abc", L" 7 "));

TEST_F(ConfigurationTest, CancelAfterEditingLeavesEveryKeyAsItWas) {
  writePictureList({folder_.pathOf(L"red.bmp"), folder_.pathOf(L"green.bmp")});
  writeSetting(L"temps", L"12");
  writeSetting(L"dir", folder_.path());
  writeSetting(L"drive", L"c:");
  const auto before = allSettings();
  ASSERT_NO_FATAL_FAILURE(open(L"C:\\"));
  ASSERT_EQ(setup_->folderPath(), folder_.path());

  ASSERT_NO_FATAL_FAILURE(addFile(L"blue.bmp"));
  setup_->clickEntry(ControlId::PictureList, 0);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Remove); }, kWaitMs));
  setup_->click(ControlId::Remove);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->entries(ControlId::PictureList).size() == 2; }, kWaitMs));
  setInterval(L"5");
  ASSERT_TRUE(setup_->openFolder(L"sub"));

  setup_->click(ControlId::Cancel);
  EXPECT_TRUE(setup_->program().waitForExit(kWaitMs));
  EXPECT_EQ(allSettings(), before);
}

TEST_F(ConfigurationTest, SavesTheListInTheOrderShownWithPreviewChecked) {
  ASSERT_NO_FATAL_FAILURE(open());
  ASSERT_TRUE(setup_->checked(ControlId::Preview));
  for (const wchar_t* name : {L"red.bmp", L"blue.bmp", L"green.bmp", L"red.bmp"})
    ASSERT_NO_FATAL_FAILURE(addFile(name));
  setup_->clickEntry(ControlId::PictureList, 2);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->previewColour() == kGreen; }, kWaitMs));
  const auto shown = setup_->entries(ControlId::PictureList);
  ASSERT_EQ(shown.size(), 4u);
  ASSERT_NO_FATAL_FAILURE(pressOk());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(readSetting(pictureKey(i)), shown[static_cast<std::size_t>(i)]);
  EXPECT_EQ(readSetting(pictureKey(4)), L"");
}

// The store refuses writes: "OK" says so, writes nothing, and keeps the dialog open as it was, so that the
// user can try again; the second "OK", with the store writable again, saves everything and ends.
TEST_F(ConfigurationTest, WhenTheStoreRefusesWritesOkSaysSoAndKeepsEverything) {
  const std::vector<std::wstring> stored{folder_.pathOf(L"green.bmp"), folder_.pathOf(L"red.bmp"),
                                         folder_.pathOf(L"blue.bmp")};
  writePictureList(stored);
  writeSetting(L"temps", L"4");
  const auto before = allSettings();
  ASSERT_NO_FATAL_FAILURE(open());
  setup_->clickEntry(ControlId::PictureList, 1);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->previewColour() == kRed; }, kWaitMs));
  setInterval(L"9");
  const std::wstring drive = setup_->driveText();
  {
    const RefusedSettingsWrites refused;
    ASSERT_TRUE(refused.active());
    setup_->click(ControlId::Ok);
    const auto box = waitForMessageBox(setup_->program(), L"Unable to save the configuration", kWaitMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->text.find(L"could not be saved"), std::wstring::npos) << box->text;
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    // The walk over the list selected every entry in turn, and previewed none of them.
    EXPECT_EQ(setup_->previewColour(), kRed);
    ASSERT_TRUE(answer(*box));
  }
  EXPECT_EQ(allSettings(), before);
  ASSERT_TRUE(setup_->program().running());
  EXPECT_EQ(setup_->entries(ControlId::PictureList), stored);
  EXPECT_EQ(setup_->selectedIndex(ControlId::PictureList), 1);
  EXPECT_TRUE(setup_->checked(ControlId::Preview));
  EXPECT_EQ(setup_->text(ControlId::Interval), L"9");
  EXPECT_FALSE(IsWindowVisible(setup_->control(ControlId::Progress)));
  EXPECT_EQ(SendMessageW(setup_->control(ControlId::Progress), PBM_GETPOS, 0, 0), 0);

  expectOkSaves(stored, L"9", drive);
}

// The bar is watched on the screen while the save runs. A fast save may end before a capture sees it at
// all, so only what every capture can show is checked: the bar never went back. The values it is given
// and its drawing at each of them are checked in the dialog's own process, where none can be missed.
TEST_F(ConfigurationTest, TheProgressBarSeenDuringASaveNeverGoesBack) {
  std::vector<std::wstring> stored;
  for (int i = 0; i < 99; ++i) stored.push_back(folder_.pathOf(std::to_wstring(i) + L".bmp"));
  writePictureList(stored);
  ASSERT_NO_FATAL_FAILURE(open());
  RECT bar{};
  GetWindowRect(setup_->control(ControlId::Progress), &bar);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const Rgb fill{GetRValue(highlight), GetGValue(highlight), GetBValue(highlight)};
  const int middle = (bar.top + bar.bottom) / 2;

  // How much of the bar's middle row is filled, each time it was seen to change.
  std::vector<int> filled{0};
  setup_->click(ControlId::Ok);
  testing_support::waitUntil(
      [&] {
        const Screenshot shot = Screenshot::capture(bar);
        // Once the program has ended the bar is gone, and what was captured may be what lay beneath it.
        if (!setup_->program().running()) return true;
        int count = 0;
        for (int x = bar.left; x < bar.right; ++x) count += shot.at(x, middle) == fill ? 1 : 0;
        if (count != filled.back()) filled.push_back(count);
        return false;
      },
      kWaitMs);
  ASSERT_FALSE(setup_->program().running());
  EXPECT_TRUE(std::is_sorted(filled.begin(), filled.end())) << testing::PrintToString(filled);
}

TEST_F(ConfigurationTest, AStoredDriveAndFolderBringTheBrowserBackAndAreSavedAsReported) {
  writeSetting(L"drive", L"c:");
  writeSetting(L"dir", folder_.path());
  ASSERT_NO_FATAL_FAILURE(open(L"C:\\"));
  expectBrowserInTheFolder();
  const std::wstring drive = setup_->driveText();
  ASSERT_NO_FATAL_FAILURE(pressOk());
  EXPECT_EQ(readSetting(L"dir"), folder_.path());
  EXPECT_EQ(readSetting(L"drive"), drive);
}

struct StoredPlace {
  const wchar_t* drive;
  const wchar_t* folder;
};

class StoredPlaceThatIsGone : public ConfigurationTest, public testing::WithParamInterface<StoredPlace> {};

TEST_P(StoredPlaceThatIsGone, LeavesTheBrowserWhereItOpened) {
  if (*GetParam().drive != L'\0') writeSetting(L"drive", GetParam().drive);
  if (*GetParam().folder != L'\0') writeSetting(L"dir", GetParam().folder);
  ASSERT_NO_FATAL_FAILURE(open());
  expectBrowserInTheFolder();
}

INSTANTIATE_TEST_SUITE_P(Places, StoredPlaceThatIsGone,
                         testing::Values(StoredPlace{L"q: [GONE]", L""}, StoredPlace{L"", L"C:\\no such folder\\below"},
                                         StoredPlace{L"q:", L"Q:\\pictures"}));

TEST_F(ConfigurationTest, AfterOkTheShowPlaysTheChosenPicturesInTheDialogsOrder) {
  ASSERT_NO_FATAL_FAILURE(open());
  for (const wchar_t* name : {L"green.bmp", L"red.bmp", L"blue.bmp"}) ASSERT_NO_FATAL_FAILURE(addFile(name));
  setInterval(L"1");
  ASSERT_NO_FATAL_FAILURE(pressOk());
  // The setup window is gone from the screen, so that its preview cannot pass for a picture of the show.
  setup_.reset();

  RunningProgram show(L"/s");
  ASSERT_NE(show.waitForShowWindow(), nullptr);
  EXPECT_EQ(coloursInTurn(show, {kGreen, kRed, kBlue}, 4, 8000), (std::vector<Rgb>{kGreen, kRed, kBlue, kGreen}));
}

}  // namespace
}  // namespace slidewell::e2e
