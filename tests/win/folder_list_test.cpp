#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser_controls.h"
#include "gdi_count.h"
#include "setup/browser/folder_path.h"
#include "setup/browser/folder_reading.h"
#include "setup/configuration.h"
#include "temp_tree.h"
#include "test_parent.h"
#include "win/gdi.h"

namespace slidewell::setup {
namespace {

using testing_support::kFolderListId;
using testing_support::listBoxTexts;
using testing_support::TempTree;

int selected(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

// The folder list, as the browser fills it.
class FolderListTest : public testing::Test, public testing_support::BrowserControls {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"zoo", L"Beach", L"apple", L"\u0424\u043e\u0442\u043e", L"\u56fe\u7247",
                                L"\U0001F600 smile", L"secret", L"empty", L"x.bmp"}) {
      tree.makeFolder(name);
    }
    tree.hide(L"secret");
    tree.makeFile(L"a.bmp");
    tree.makeFile(L"\u0424\u043e\u0442\u043e\\inside.bmp");
  }

  // What the list must show at the tree's own folder: the names above it come from its path.
  std::vector<std::wstring> treeEntriesWith(const std::vector<std::wstring>& subfolders) const {
    const auto path = parseFolderPath(tree.path());
    std::vector<std::wstring> entries = {path->root};
    entries.insert(entries.end(), path->names.begin(), path->names.end());
    entries.insert(entries.end(), subfolders.begin(), subfolders.end());
    return entries;
  }

  int treeIndex() const { return static_cast<int>(parseFolderPath(tree.path())->names.size()); }

  TempTree tree;
  HWND list = folderList;
};

TEST_F(FolderListTest, ShowsTheFoldersAboveTheCurrentOneAndItsVisibleSubfoldersInOrder) {
  const Browser& folders = open(tree.path());
  EXPECT_EQ(folders.folderPath(), tree.path());
  EXPECT_EQ(listBoxTexts(list), treeEntriesWith({L"apple", L"Beach", L"empty", L"x.bmp", L"zoo",
                                                 L"\u0424\u043e\u0442\u043e", L"\u56fe\u7247", L"\U0001F600 smile"}));
  EXPECT_EQ(selected(list), treeIndex());
}

TEST_F(FolderListTest, OpeningAnEntryMakesItCurrent) {
  Browser& folders = open(tree.path());
  const int cyrillic = treeIndex() + 6;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(cyrillic), 0);
  EXPECT_TRUE(folders.openSelectedFolder());
  EXPECT_TRUE(arrived());
  EXPECT_EQ(folders.folderPath(), tree.pathOf(L"\u0424\u043e\u0442\u043e"));
  EXPECT_EQ(listBoxTexts(list), treeEntriesWith({L"\u0424\u043e\u0442\u043e"}));

  // The current entry is where the list already is: no change.
  EXPECT_FALSE(folders.openSelectedFolder());

  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(treeIndex()), 0);
  EXPECT_TRUE(folders.openSelectedFolder());
  EXPECT_TRUE(arrived());
  EXPECT_EQ(folders.folderPath(), tree.path());

  SendMessageW(list, LB_SETCURSEL, 0, 0);
  EXPECT_TRUE(folders.openSelectedFolder());
  EXPECT_TRUE(arrived());
  EXPECT_EQ(folders.folderPath(), parseFolderPath(tree.path())->root);
}

TEST_F(FolderListTest, AFolderThatCannotBeReadLeavesTheListWhereItWas) {
  Browser& folders = open(tree.path());
  const auto before = listBoxTexts(list);
  for (const std::wstring& path : {tree.pathOf(L"missing"), tree.pathOf(L"a.bmp"), tree.pathOf(L"zo*"),
                                   std::wstring(L"relative\\folder"), std::wstring()}) {
    EXPECT_FALSE(folders.moveToFolder(path)) << path;
    EXPECT_EQ(folders.folderPath(), tree.path());
    EXPECT_EQ(listBoxTexts(list), before);
  }
  EXPECT_TRUE(folders.moveToFolder(tree.path() + L"\\empty\\..\\.\\zoo\\"));
  EXPECT_EQ(folders.folderPath(), tree.pathOf(L"zoo"));
}

TEST_F(FolderListTest, AStartFolderThatCannotBeReadShowsNothingUntilAFolderIsSet) {
  Browser& folders = open(tree.pathOf(L"missing"));
  EXPECT_EQ(folders.folderPath(), L"");
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(folders.openSelectedFolder());
  const std::wstring processFolder = processCurrentFolder();
  EXPECT_TRUE(folders.moveToFolder(processFolder));
  EXPECT_EQ(folders.folderPath(), parseFolderPath(processFolder)->text());
}

TEST_F(FolderListTest, EnterInTheListReachesTheParentAsADoubleClick) {
  open(tree.path());
  parent.commands.clear();
  MSG enter{list, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_NE(SendMessageW(list, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE, 0);
  SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(parent.commands, (std::vector<std::pair<int, int>>{{kFolderListId, LBN_DBLCLK}}));
}

TEST_F(FolderListTest, PathsBeyond260CharactersAreBrowsedWhole) {
  std::wstring relative;
  for (int depth = 0; depth < 6; ++depth) {
    relative += (depth == 0 ? L"" : L"\\") + std::wstring(60, static_cast<wchar_t>(L'a' + depth));
    tree.makeFolder(relative);
  }
  const std::wstring deep = tree.pathOf(relative);
  ASSERT_GT(deep.size(), 360u);
  Browser& folders = open(tree.path());
  EXPECT_TRUE(folders.moveToFolder(deep));
  EXPECT_EQ(folders.folderPath(), deep);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(treeIndex() + 1), 0);
  EXPECT_TRUE(folders.openSelectedFolder());
  EXPECT_TRUE(arrived());
  EXPECT_EQ(folders.folderPath(), tree.pathOf(std::wstring(60, L'a')));
}

// The leftmost column in which an entry drawn into a bitmap has text.
int firstTextColumn(const Browser& folders, HWND list, int index) {
  constexpr int kWidth = 300, kHeight = 20;
  const win::WindowDc screen(nullptr);
  const win::MemoryDc dc(screen.get());
  const win::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
  const win::SelectionScope useBitmap(dc.get(), bitmap.get());
  const win::SelectionScope useFont(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_LISTBOX;
  item.hwndItem = list;
  item.hDC = dc.get();
  item.itemID = static_cast<UINT>(index);
  item.rcItem = {0, 0, kWidth, kHeight};
  folders.drawFolder(item);
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  for (int x = 0; x < kWidth; ++x) {
    for (int y = 0; y < kHeight; ++y) {
      if (GetPixel(dc.get(), x, y) != background) return x;
    }
  }
  return -1;
}

TEST_F(FolderListTest, EachEntryIsDrawnFurtherInByItsDepth) {
  const long gdiBefore = testing_support::liveGdiObjects();
  {
    const Browser& folders = open(tree.path());
    const int root = firstTextColumn(folders, list, 0);
    const int current = firstTextColumn(folders, list, treeIndex());
    const int subfolder = firstTextColumn(folders, list, treeIndex() + 1);
    EXPECT_GE(root, 0);
    EXPECT_LT(root, current);
    EXPECT_LT(current, subfolder);
  }
  EXPECT_EQ(testing_support::liveGdiObjects(), gdiBefore);
}

TEST_F(FolderListTest, LinesAreAsHighAsTheListsFont) {
  Browser& folders = open(tree.path());
  const auto heightBefore = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  const long gdiBefore = testing_support::liveGdiObjects();
  {
    const win::UniqueFont large(
        CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(large.get()), FALSE);
    folders.fitToFont();
    EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 40);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  folders.fitToFont();
  EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), heightBefore);
  EXPECT_EQ(testing_support::liveGdiObjects(), gdiBefore);
}

}  // namespace
}  // namespace slidewell::setup
