#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "harness/controls.h"
#include "harness/dialog_case.h"
#include "harness/display.h"
#include "harness/input.h"
#include "harness/program.h"
#include "harness/screen.h"
#include "harness/settings.h"
#include "harness/setup_window.h"
#include "setup/dialog/dialog_layout.h"
#include "temp_tree.h"
#include "wait.h"

namespace slidewell::e2e {
namespace {

using setup::ControlId;

constexpr DWORD kWaitMs = 5000;
// How long an action is given to have an effect that must not happen.
constexpr DWORD kSettleMs = 300;

const std::wstring kPicturesFolder = L"Фото 照片 🌄";
const std::wstring kRedName = L"A-red.BMP";
const std::wstring kGreenName = L"b-green.bmp";
const std::wstring kBrokenName = L"broken.bmp";
const std::wstring kBlueName = L"Синий 蓝色 🔵.bmp";

Rgb emptyPreview() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return Rgb{GetRValue(face), GetGValue(face), GetBValue(face)};
}

// A tree for the browser: in the root one bitmap and two folders; in the pictures folder (a name in three
// scripts) bitmaps in several letter cases, one that is no picture, files of other kinds and two subfolders,
// one of them named like a bitmap.
class PictureListTest : public DialogCase {
 protected:
  void SetUp() override {
    DialogCase::SetUp();
    pictures_ = root_.pathOf(kPicturesFolder);
    const std::wstring in = kPicturesFolder + L"\\";
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(L"top.bmp", testing_support::solidBmpBytes(8, 8, kRed)));
    root_.makeFolder(L"other");
    root_.makeFolder(kPicturesFolder);
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + kRedName, testing_support::solidBmpBytes(40, 30, kRed)));
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + kGreenName, testing_support::solidBmpBytes(30, 40, kGreen)));
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + kBlueName, testing_support::solidBmpBytes(20, 20, kBlue)));
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + kBrokenName, std::vector<std::uint8_t>{'B', 'M', 0, 1, 2, 3}));
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + L"notes.txt", "hi"));
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + L"red.bmp.txt", testing_support::solidBmpBytes(8, 8, kRed)));
    ASSERT_NO_FATAL_FAILURE(root_.makeFile(in + L"red.bmpx", testing_support::solidBmpBytes(8, 8, kRed)));
    root_.makeFolder(in + L"sub");
    root_.makeFolder(in + L"folder.bmp");
  }
  void TearDown() override {
    setup_.reset();
    DialogCase::TearDown();
  }

  std::wstring inPictures(const std::wstring& name) const { return pictures_ + L"\\" + name; }

  void open(const std::wstring& folder) {
    setup_ = std::make_unique<SetupWindow>(folder);
    ASSERT_TRUE(setup_->opened());
  }

  int fileIndex(const std::wstring& name) const { return setup_->fileIndex(name); }

  std::vector<std::wstring> pictures() const { return setup_->entries(ControlId::PictureList); }

  void expectPictures(const std::vector<std::wstring>& expected) {
    EXPECT_TRUE(testing_support::waitUntil([&] { return pictures() == expected; }, kWaitMs))
        << testing::PrintToString(pictures()) << " instead of " << testing::PrintToString(expected);
  }

  void expectPreview(Rgb colour) {
    EXPECT_TRUE(testing_support::waitUntil([&] { return setup_->previewColour() == colour; }, kWaitMs))
        << "the preview shows " << int{setup_->previewColour().r} << "," << int{setup_->previewColour().g} << ","
        << int{setup_->previewColour().b};
  }

  void expectPreviewStays(Rgb colour) {
    Sleep(kSettleMs);
    expectPreview(colour);
  }

  // The subfolders the folder list shows below its current folder.
  std::vector<std::wstring> subfolders() const {
    const auto names = setup_->entries(ControlId::Folders);
    const int current = setup_->selectedIndex(ControlId::Folders);
    return std::vector<std::wstring>(names.begin() + current + 1, names.end());
  }

  testing_support::TempTree root_;
  std::wstring pictures_;
  std::unique_ptr<SetupWindow> setup_;
};

TEST_F(PictureListTest, BrowsesThroughTheFolderListAndListsOnlyTheBitmaps) {
  ASSERT_NO_FATAL_FAILURE(open(root_.path()));
  EXPECT_EQ(setup_->folderPath(), root_.path());
  EXPECT_EQ(subfolders(), (std::vector<std::wstring>{L"other", kPicturesFolder}));
  EXPECT_EQ(setup_->entries(ControlId::Files), std::vector<std::wstring>{L"top.bmp"});

  ASSERT_TRUE(setup_->openFolder(kPicturesFolder));
  EXPECT_EQ(setup_->folderPath(), pictures_);
  EXPECT_EQ(subfolders(), (std::vector<std::wstring>{L"folder.bmp", L"sub"}));
  EXPECT_TRUE(testing_support::waitUntil(
      [&] {
        return setup_->entries(ControlId::Files) ==
               std::vector<std::wstring>{kRedName, kGreenName, kBrokenName, kBlueName};
      },
      kWaitMs))
      << testing::PrintToString(setup_->entries(ControlId::Files));
  EXPECT_EQ(setup_->selectedIndex(ControlId::Files), -1);

  // Enter in the folder list opens the selected entry as a double-click does.
  const auto names = setup_->entries(ControlId::Folders);
  SendMessageW(setup_->control(ControlId::Folders), LB_SETCURSEL, names.size() - 1, 0);
  pressKey(VK_RETURN);
  EXPECT_TRUE(testing_support::waitUntil([&] { return setup_->folderPath() == inPictures(L"sub"); }, kWaitMs))
      << setup_->folderPath();
  EXPECT_TRUE(setup_->entries(ControlId::Files).empty());

  // Up again, through the entry of the folder above.
  ASSERT_TRUE(setup_->openFolder(kPicturesFolder));
  EXPECT_EQ(setup_->folderPath(), pictures_);
  EXPECT_EQ(setup_->entries(ControlId::Files).size(), 4u);
  EXPECT_FALSE(setup_->enabled(ControlId::Add));
}

TEST_F(PictureListTest, AddsTheSelectedFileByButtonAndByDoubleClickJoinedToItsFolder) {
  ASSERT_NO_FATAL_FAILURE(open(pictures_));
  EXPECT_FALSE(setup_->enabled(ControlId::Add));
  setup_->clickEntry(ControlId::Files, fileIndex(kRedName));
  EXPECT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Add); }, kWaitMs));
  setup_->click(ControlId::Add);
  expectPictures({inPictures(kRedName)});
  EXPECT_EQ(setup_->selectedIndex(ControlId::PictureList), -1);

  setup_->doubleClickEntry(ControlId::Files, fileIndex(kBlueName));
  expectPictures({inPictures(kRedName), inPictures(kBlueName)});
  // The same file again: lists may hold a picture more than once.
  setup_->click(ControlId::Add);
  expectPictures({inPictures(kRedName), inPictures(kBlueName), inPictures(kBlueName)});

  // Another folder: nothing is selected there, so "Add" waits for a click.
  ASSERT_TRUE(setup_->openFolder(L"sub"));
  EXPECT_FALSE(setup_->enabled(ControlId::Add));

  // Names in any script are stored exactly as shown.
  setup_->click(ControlId::Ok);
  ASSERT_TRUE(setup_->program().waitForExit(kWaitMs));
  EXPECT_EQ(readSetting(L"Picture 0"), inPictures(kRedName));
  EXPECT_EQ(readSetting(L"Picture 1"), inPictures(kBlueName));
  EXPECT_EQ(readSetting(L"Picture 2"), inPictures(kBlueName));
  EXPECT_EQ(readSetting(L"Picture 3"), L"");
  EXPECT_EQ(readSetting(L"dir"), inPictures(L"sub"));
}

TEST_F(PictureListTest, JoinsAFileAtADrivesRootWithoutASecondBackslash) {
  const std::wstring name = L"slidewell-root-" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
  const std::wstring path = L"C:\\" + name;
  ASSERT_TRUE(testing_support::writeFileBytes(path, testing_support::solidBmpBytes(8, 8, kGreen)));
  struct Removal {
    const std::wstring& path;
    ~Removal() { DeleteFileW(path.c_str()); }
  } removal{path};

  ASSERT_NO_FATAL_FAILURE(open(L"C:\\"));
  EXPECT_EQ(setup_->folderPath(), L"C:\\");
  setup_->doubleClickEntry(ControlId::Files, fileIndex(name));
  expectPictures({path});
}

TEST_F(PictureListTest, TakesNinetyNinePicturesThenSaysTheListIsFullAndKeepsIt) {
  std::vector<std::wstring> stored;
  for (int i = 0; i < 98; ++i) stored.push_back(L"C:\\stored\\" + std::to_wstring(i) + L".bmp");
  writePictureList(stored);
  ASSERT_NO_FATAL_FAILURE(open(pictures_));
  ASSERT_EQ(pictures().size(), 98u);

  setup_->clickEntry(ControlId::Files, fileIndex(kGreenName));
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Add); }, kWaitMs));
  setup_->click(ControlId::Add);
  auto full = stored;
  full.push_back(inPictures(kGreenName));
  expectPictures(full);

  // By the button, then by a double-click: the same message each time, and the list stays as it was.
  for (const bool byButton : {true, false}) {
    if (byButton) {
      setup_->click(ControlId::Add);
    } else {
      setup_->doubleClickEntry(ControlId::Files, fileIndex(kRedName));
    }
    const auto box = waitForMessageBox(setup_->program(), L"Unable to add a picture", kWaitMs);
    ASSERT_TRUE(box.has_value()) << (byButton ? "Add" : "double-click");
    EXPECT_EQ(box->text, L"99 pictures is the maximum");
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    ASSERT_TRUE(answer(*box));
    EXPECT_EQ(pictures(), full);
  }
  EXPECT_TRUE(setup_->program().running());
}

TEST_F(PictureListTest, RemovesTheSelectedEntryAndThenWaitsForTheNextClick) {
  writePictureList({L"C:\\a.bmp", L"C:\\b.bmp", L"C:\\c.bmp"});
  ASSERT_NO_FATAL_FAILURE(open(pictures_));
  EXPECT_FALSE(setup_->enabled(ControlId::Remove));

  setup_->clickEntry(ControlId::PictureList, 1);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Remove); }, kWaitMs));
  setup_->click(ControlId::Remove);
  expectPictures({L"C:\\a.bmp", L"C:\\c.bmp"});
  EXPECT_FALSE(setup_->enabled(ControlId::Remove));
  EXPECT_EQ(setup_->selectedIndex(ControlId::PictureList), -1);

  // Nothing selected: a click on the button removes nothing, and it stays disabled.
  setup_->click(ControlId::Remove);
  Sleep(kSettleMs);
  EXPECT_EQ(pictures(), (std::vector<std::wstring>{L"C:\\a.bmp", L"C:\\c.bmp"}));
  EXPECT_FALSE(setup_->enabled(ControlId::Remove));

  setup_->clickEntry(ControlId::PictureList, 1);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Remove); }, kWaitMs));
  setup_->click(ControlId::Remove);
  expectPictures({L"C:\\a.bmp"});
  EXPECT_FALSE(setup_->enabled(ControlId::Remove));
}

TEST_F(PictureListTest, PreviewsEachClickedFileOrEntryOnlyWhilePreviewIsChecked) {
  writePictureList({inPictures(kBlueName)});
  ASSERT_NO_FATAL_FAILURE(open(pictures_));
  ASSERT_TRUE(setup_->checked(ControlId::Preview));
  expectPreview(emptyPreview());

  setup_->clickEntry(ControlId::Files, fileIndex(kRedName));
  expectPreview(kRed);

  // Cleared: clicks in either list leave the last picture in place, and so does checking the box again.
  setup_->click(ControlId::Preview);
  ASSERT_TRUE(testing_support::waitUntil([&] { return !setup_->checked(ControlId::Preview); }, kWaitMs));
  setup_->clickEntry(ControlId::Files, fileIndex(kGreenName));
  ASSERT_TRUE(testing_support::waitUntil(
      [&] { return setup_->selectedIndex(ControlId::Files) == fileIndex(kGreenName); }, kWaitMs));
  setup_->clickEntry(ControlId::PictureList, 0);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Remove); }, kWaitMs));
  expectPreviewStays(kRed);
  setup_->click(ControlId::Preview);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->checked(ControlId::Preview); }, kWaitMs));
  expectPreviewStays(kRed);

  // A click on the entry that is already selected is a click all the same.
  setup_->clickEntry(ControlId::Files, fileIndex(kGreenName));
  expectPreview(kGreen);
  setup_->clickEntry(ControlId::PictureList, 0);
  expectPreview(kBlue);
}

TEST_F(PictureListTest, APictureThatCannotBeLoadedLeavesThePreviewEmpty) {
  writePictureList({inPictures(L"missing.bmp")});
  ASSERT_NO_FATAL_FAILURE(open(pictures_));

  setup_->clickEntry(ControlId::Files, fileIndex(kRedName));
  expectPreview(kRed);
  setup_->clickEntry(ControlId::Files, fileIndex(kBrokenName));
  expectPreview(emptyPreview());
  EXPECT_TRUE(setup_->enabled(ControlId::Add));

  setup_->clickEntry(ControlId::Files, fileIndex(kRedName));
  expectPreview(kRed);
  setup_->clickEntry(ControlId::PictureList, 0);
  expectPreview(emptyPreview());
  EXPECT_TRUE(setup_->program().running());
}

// The drive list, worked from the keyboard: a letter picks the drive.
TEST_F(PictureListTest, ADriveThatCannotBeReadLeavesTheBrowserWhereItWasAndAReadableOneMovesIt) {
  // A drive letter that leads to a folder that is not there, as a drive without its medium does.
  wchar_t letter = L'M';
  while (letter < L'Y' && (GetLogicalDrives() & (1u << (letter - L'A'))) != 0) ++letter;
  const std::wstring device{letter, L':'};
  ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), root_.pathOf(L"gone").c_str()));
  struct Removal {
    const std::wstring& device;
    ~Removal() { DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr); }
  } removal{device};

  ASSERT_NO_FATAL_FAILURE(open(pictures_));
  const std::wstring unreadable{static_cast<wchar_t>(letter - L'A' + L'a'), L':'};
  const auto drives = setup_->entries(ControlId::Drives);
  ASSERT_NE(std::find(drives.begin(), drives.end(), unreadable), drives.end()) << testing::PrintToString(drives);
  const std::wstring startDrive = setup_->driveText();
  setup_->clickEntry(ControlId::Files, fileIndex(kRedName));
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Add); }, kWaitMs));

  const HWND driveList = setup_->control(ControlId::Drives);
  // From the file list back past the folder list.
  pressKeyWithShift(VK_TAB);
  pressKeyWithShift(VK_TAB);
  ASSERT_TRUE(testing_support::waitUntil([&] { return focusOf(setup_->window()) == driveList; }, kWaitMs));
  pressKey(static_cast<WORD>(letter));
  Sleep(kSettleMs);
  EXPECT_EQ(setup_->driveText(), startDrive);
  EXPECT_EQ(setup_->folderPath(), pictures_);
  EXPECT_EQ(setup_->entries(ControlId::Files).size(), 4u);
  EXPECT_TRUE(setup_->enabled(ControlId::Add));
  EXPECT_EQ(GetForegroundWindow(), setup_->window()) << "an error box";

  pressKey('Z');
  EXPECT_TRUE(testing_support::waitUntil([&] { return setup_->folderPath() == L"Z:\\"; }, kWaitMs))
      << setup_->folderPath();
  EXPECT_EQ(setup_->driveText().substr(0, 2), L"z:");
  EXPECT_FALSE(setup_->enabled(ControlId::Add));
}

// Folders nested deeper than the old 260-character limit of a path: browsed, added and stored exactly.
TEST_F(PictureListTest, PathsBeyondTheOldLengthLimitAreBrowsedAddedAndStoredExactly) {
  std::wstring relative = std::wstring(60, L'a');
  root_.makeFolder(relative);
  for (wchar_t letter = L'b'; root_.pathOf(relative).size() <= 300; ++letter) {
    relative += L"\\" + std::wstring(60, letter);
    root_.makeFolder(relative);
  }
  const std::wstring deep = root_.pathOf(relative);
  const std::wstring picture = deep + L"\\deep.bmp";
  ASSERT_NO_FATAL_FAILURE(root_.makeFile(relative + L"\\deep.bmp", testing_support::solidBmpBytes(8, 8, kGreen)));
  writeSetting(L"dir", deep);

  ASSERT_NO_FATAL_FAILURE(open(root_.path()));
  EXPECT_EQ(setup_->folderPath(), deep);
  ASSERT_EQ(setup_->entries(ControlId::Files), std::vector<std::wstring>{L"deep.bmp"});
  // The preview of such a path depends on the system's support for long paths; either way the dialog goes on.
  setup_->clickEntry(ControlId::Files, 0);
  ASSERT_TRUE(testing_support::waitUntil([&] { return setup_->enabled(ControlId::Add); }, kWaitMs));
  setup_->click(ControlId::Add);
  expectPictures({picture});
  setup_->click(ControlId::Ok);
  ASSERT_TRUE(setup_->program().waitForExit(kWaitMs));
  EXPECT_EQ(readSetting(L"Picture 0"), picture);
  EXPECT_EQ(readSetting(L"dir"), deep);
}

}  // namespace
}  // namespace slidewell::e2e
