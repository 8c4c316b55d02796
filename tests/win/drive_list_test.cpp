#include "setup/browser/drive_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "browser_controls.h"
#include "setup/browser/folder_path.h"
#include "temp_tree.h"
#include "test_parent.h"
#include "win/window_text.h"

namespace slidewell::setup {
namespace {

using testing_support::TempTree;

std::vector<std::wstring> driveRoots() {
  wchar_t buffer[512] = {};
  GetLogicalDriveStringsW(511, buffer);
  std::vector<std::wstring> roots;
  for (const wchar_t* root = buffer; *root != L'\0'; root += roots.back().size() + 1) roots.emplace_back(root);
  return roots;
}

// A drive letter that the machine lists but that leads nowhere, as a drive without its medium does.
class UnreadableDrive {
 public:
  explicit UnreadableDrive(const std::wstring& missingFolder) {
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'M'; letter <= L'Y'; ++letter) {
      if ((used & (1u << (letter - L'A'))) == 0) {
        device_ = {letter, L':'};
        break;
      }
    }
    EXPECT_TRUE(DefineDosDeviceW(0, device_.c_str(), missingFolder.c_str()));
  }
  UnreadableDrive(const UnreadableDrive&) = delete;
  UnreadableDrive& operator=(const UnreadableDrive&) = delete;
  ~UnreadableDrive() { DefineDosDeviceW(DDD_REMOVE_DEFINITION, device_.c_str(), nullptr); }

  std::wstring text() const { return driveText(device_[0], L""); }

 private:
  std::wstring device_;
};

// A fixed drive other than `letter`'s, which can be read.
std::optional<wchar_t> otherFixedDrive(wchar_t letter) {
  for (const auto& root : driveRoots()) {
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED && driveLetterOf(root) != letter) return driveLetterOf(root);
  }
  return std::nullopt;
}

class DriveListTest : public testing::Test, public testing_support::BrowserControls {
 protected:
  TempTree tree;
  const wchar_t treeDrive = *driveLetterOf(tree.path());
  UnreadableDrive unreadable{tree.pathOf(L"gone")};
  HWND combo = driveCombo;
};

TEST_F(DriveListTest, ListsEveryDriveWithItsLabelAndStartsOnTheFoldersDrive) {
  const DriveList drives(combo, tree.path());
  const auto roots = driveRoots();
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(roots.size()));
  for (std::size_t i = 0; i < roots.size(); ++i) {
    EXPECT_EQ(driveLetterOf(win::comboItemText(combo, static_cast<int>(i))), driveLetterOf(roots[i]));
  }
  wchar_t label[MAX_PATH + 1] = {};
  GetVolumeInformationW(driveRoot(treeDrive).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(drives.text(), driveText(treeDrive, label));
}

TEST_F(DriveListTest, OnlyADriveThatCanBeReadBecomesCurrent) {
  Browser& browser = open(tree.path());
  const std::wstring start = browser.driveText();
  for (const std::wstring& text : {unreadable.text(), std::wstring(L"nonsense"), std::wstring()}) {
    EXPECT_FALSE(browser.moveToDrive(text)) << text;
    EXPECT_EQ(browser.driveText(), start);
  }
  const auto other = otherFixedDrive(treeDrive);
  if (!other) GTEST_SKIP() << "this machine has one fixed drive only";
  EXPECT_TRUE(browser.moveToDrive(driveRoot(*other) + L"some\\folder"));
  EXPECT_EQ(driveLetterOf(browser.driveText()), other);
  EXPECT_TRUE(browser.moveToDrive(start));
  EXPECT_EQ(browser.driveText(), start);
  DriveList drives(combo, tree.path());
  drives.showDriveOf(L"\\\\server\\share\\pictures");
  EXPECT_EQ(drives.text(), L"");
}

TEST_F(DriveListTest, AChosenDriveThatCannotBeReadLeavesBothListsWhereTheyWere) {
  Browser& browser = open(tree.path());
  const std::wstring start = browser.driveText();

  EXPECT_FALSE(browser.moveToDrive(unreadable.text()));
  EXPECT_EQ(browser.driveText(), start);
  EXPECT_EQ(browser.folderPath(), tree.path());

  // As when the user picks it from the drop-down list: the combo box has moved before the change is handled.
  const auto index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(unreadable.text().c_str()));
  ASSERT_NE(index, CB_ERR);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  EXPECT_TRUE(browser.followDrive());
  EXPECT_FALSE(arrived());
  EXPECT_EQ(browser.driveText(), start);
  EXPECT_EQ(browser.folderPath(), tree.path());
}

TEST_F(DriveListTest, TheFolderListFollowsAChosenDriveAndTheDriveListAGivenFolder) {
  Browser& browser = open(tree.path());
  const auto other = otherFixedDrive(treeDrive);
  if (!other) GTEST_SKIP() << "this machine has one fixed drive only";

  EXPECT_TRUE(browser.moveToDrive(driveText(*other, L"")));
  EXPECT_EQ(driveLetterOf(browser.folderPath()), other);
  EXPECT_EQ(driveLetterOf(browser.driveText()), other);

  SendMessageW(combo, CB_SETCURSEL,
               static_cast<WPARAM>(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(driveText(treeDrive, L"").c_str()))),
               0);
  EXPECT_TRUE(browser.followDrive());
  EXPECT_TRUE(arrived());
  EXPECT_EQ(driveLetterOf(browser.folderPath()), treeDrive);
  EXPECT_EQ(driveLetterOf(browser.driveText()), treeDrive);

  EXPECT_TRUE(browser.moveToFolder(driveRoot(*other)));
  EXPECT_EQ(driveLetterOf(browser.driveText()), other);
  EXPECT_FALSE(browser.moveToFolder(tree.pathOf(L"gone")));
  EXPECT_EQ(browser.folderPath(), driveRoot(*other));
  EXPECT_EQ(driveLetterOf(browser.driveText()), other);
  EXPECT_TRUE(browser.moveToFolder(tree.path()));
  EXPECT_EQ(driveLetterOf(browser.driveText()), treeDrive);
}

}  // namespace
}  // namespace slidewell::setup
