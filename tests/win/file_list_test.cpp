#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser_controls.h"
#include "temp_tree.h"
#include "test_parent.h"

namespace slidewell::setup {
namespace {

using testing_support::listBoxTexts;
using testing_support::TempTree;

// The file list, as the browser fills it.
class FileListTest : public testing::Test, public testing_support::BrowserControls {
 protected:
  void SetUp() override {
    for (const wchar_t* name :
         {L"c.Bmp", L"a.bmp", L"B.BMP", L"\u0437\u0438\u043c\u0430.bmp", L"\u98ce\u666f.bmp", L"smile \U0001F30D.bmp",
          L"x.bmpx", L"notes.txt", L"photo.jpg", L"hidden.bmp", L"bmp"}) {
      tree.makeFile(name);
    }
    tree.hide(L"hidden.bmp");
    tree.makeFolder(L"folder.bmp");
    tree.makeFolder(L"other");
    tree.makeFile(L"other\\only.bmp");
  }

  TempTree tree;
  HWND list = fileList;
};

TEST_F(FileListTest, ShowsOnlyTheVisibleBitmapsOfTheFolderInNameOrder) {
  Browser& files = open(tree.pathOf(L"other"));
  EXPECT_TRUE(files.moveToFolder(tree.path()));
  EXPECT_EQ(listBoxTexts(list), (std::vector<std::wstring>{L"a.bmp", L"B.BMP", L"c.Bmp", L"smile \U0001F30D.bmp",
                                                           L"\u0437\u0438\u043c\u0430.bmp", L"\u98ce\u666f.bmp"}));
  EXPECT_EQ(files.selectedFile(), L"");
}

TEST_F(FileListTest, TheSelectionIsTheFileNameWithoutFolder) {
  Browser& files = open(tree.path());
  ASSERT_EQ(files.folderPath(), tree.path());
  SendMessageW(list, LB_SETCURSEL, 4, 0);
  EXPECT_EQ(files.selectedFile(), L"\u0437\u0438\u043c\u0430.bmp");
  // Another folder shows its own files, none selected.
  EXPECT_TRUE(files.moveToFolder(tree.pathOf(L"other")));
  EXPECT_EQ(listBoxTexts(list), (std::vector<std::wstring>{L"only.bmp"}));
  EXPECT_EQ(files.selectedFile(), L"");
}

TEST_F(FileListTest, AFolderThatCannotBeReadKeepsWhatTheListShowed) {
  Browser& files = open(tree.path());
  ASSERT_EQ(files.folderPath(), tree.path());
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  const auto before = listBoxTexts(list);
  for (const std::wstring& folder : {tree.pathOf(L"missing"), tree.pathOf(L"a.bmp"), std::wstring(L"*.bmp")}) {
    EXPECT_FALSE(files.moveToFolder(folder)) << folder;
    EXPECT_EQ(listBoxTexts(list), before);
    EXPECT_EQ(files.selectedFile(), L"B.BMP");
  }
}

TEST_F(FileListTest, AnEmptyFolderShowsNoFiles) {
  tree.makeFolder(L"empty");
  Browser& files = open(tree.path());
  ASSERT_EQ(files.folderPath(), tree.path());
  EXPECT_TRUE(files.moveToFolder(tree.pathOf(L"empty")));
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

}  // namespace
}  // namespace slidewell::setup
