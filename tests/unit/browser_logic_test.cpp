#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/browser/folder_entries.h"
#include "setup/browser/folder_path.h"
#include "setup/browser/name_order.h"
#include "setup/configuration.h"

namespace slidewell::setup {
namespace {

TEST(Joinpath, PutsExactlyOneBackslashBetweenFolderAndName) {
  EXPECT_EQ(joinpath(L"C:\\pics", L"a.bmp"), L"C:\\pics\\a.bmp");
  EXPECT_EQ(joinpath(L"C:\\", L"a.bmp"), L"C:\\a.bmp");
  EXPECT_EQ(joinpath(L"\\\\server\\share\\", L"a.bmp"), L"\\\\server\\share\\a.bmp");
  EXPECT_EQ(joinpath(L"C:\\\u0424\u043e\u0442\u043e", L"\u98ce\u666f \U0001F30D.bmp"),
            L"C:\\\u0424\u043e\u0442\u043e\\\u98ce\u666f \U0001F30D.bmp");
}

TEST(FolderPathParsing, AcceptsTheFormsOfAFullPath) {
  const FolderPath pics{L"C:\\", {L"pics", L"2024"}};
  EXPECT_EQ(parseFolderPath(L"C:\\pics\\2024"), pics);
  EXPECT_EQ(parseFolderPath(L"c:/pics//2024/"), pics);
  EXPECT_EQ(parseFolderPath(L"C:\\pics\\.\\old\\..\\2024"), pics);
  EXPECT_EQ(parseFolderPath(L"\\\\?\\C:\\pics\\2024"), pics);
  EXPECT_EQ(parseFolderPath(L"C:\\..\\..\\pics\\2024"), pics);  // never above the root
  EXPECT_EQ(parseFolderPath(L"d:"), (FolderPath{L"D:\\", {}}));
  EXPECT_EQ(parseFolderPath(L"\\\\server\\share\\pics"), (FolderPath{L"\\\\server\\share\\", {L"pics"}}));
  EXPECT_EQ(parseFolderPath(L"\\\\?\\UNC\\server\\share"), (FolderPath{L"\\\\server\\share\\", {}}));
}

TEST(FolderPathParsing, RefusesWhatIsNoFullFolderPath) {
  for (const wchar_t* text : {L"", L"pics", L"\\pics", L"C:pics", L"1:\\", L"\\\\server", L"\\\\server\\",
                              L"\\\\\\share", L"C:\\pi*cs", L"C:\\a?", L"C:\\a\\b:c", L"C:\\a\tb", L"c: [SYSTEM]"}) {
    EXPECT_FALSE(parseFolderPath(text).has_value()) << text;
  }
}

TEST(FolderPathText, IsTheRootOrTheFoldersBelowItAndHasALongForm) {
  const FolderPath root{L"C:\\", {}};
  const FolderPath deep{L"C:\\", {L"a", L"\u56fe\u7247"}};
  const FolderPath share{L"\\\\server\\share\\", {L"a"}};
  EXPECT_EQ(root.text(), L"C:\\");
  EXPECT_EQ(deep.text(), L"C:\\a\\\u56fe\u7247");
  EXPECT_EQ(share.text(), L"\\\\server\\share\\a");
  EXPECT_EQ(root.longForm(), L"\\\\?\\C:\\");
  EXPECT_EQ(deep.longForm(), L"\\\\?\\C:\\a\\\u56fe\u7247");
  EXPECT_EQ(share.longForm(), L"\\\\?\\UNC\\server\\share\\a");
  EXPECT_EQ(parseFolderPath(deep.longForm()), deep);
}

TEST(FolderEntriesOfAPath, ShowRootAncestorsCurrentThenSortedSubfolders) {
  const FolderEntries entries(FolderPath{L"C:\\", {L"pics", L"2024"}}, {L"zoo", L"Beach", L"apple"});
  const std::vector<FolderEntry> expected = {{L"C:\\", 0},  {L"pics", 1},  {L"2024", 2},
                                             {L"apple", 3}, {L"Beach", 3}, {L"zoo", 3}};
  EXPECT_EQ(entries.entries(), expected);
  EXPECT_EQ(entries.currentIndex(), 2);
}

TEST(FolderEntriesOfAPath, OpeningAnEntryGivesItsFolder) {
  const FolderEntries entries(FolderPath{L"C:\\", {L"pics", L"2024"}}, {L"zoo", L"Beach"});
  const std::vector<std::wstring> paths{L"C:\\", L"C:\\pics", L"C:\\pics\\2024", L"C:\\pics\\2024\\Beach",
                                        L"C:\\pics\\2024\\zoo"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(entries.pathOf(i)->text(), paths[static_cast<std::size_t>(i)]) << i;
  EXPECT_FALSE(entries.pathOf(-1).has_value());
  EXPECT_FALSE(entries.pathOf(5).has_value());
}

TEST(FolderEntriesOfAPath, AtARootTheSubfoldersComeRightAfterIt) {
  const FolderEntries entries(FolderPath{L"D:\\", {}}, {L"x"});
  EXPECT_EQ(entries.entries(), (std::vector<FolderEntry>{{L"D:\\", 0}, {L"x", 1}}));
  EXPECT_EQ(entries.currentIndex(), 0);
  EXPECT_EQ(entries.pathOf(1)->text(), L"D:\\x");
}

TEST(NameOrder, IgnoresCaseInLatinGreekAndCyrillicAndIsStable) {
  std::vector<std::wstring> names = {L"b",
                                     L"\u0416\u0443\u043a",
                                     L"A",
                                     L"\u00c9t\u00e9",
                                     L"a",
                                     L"\u00e9cole",
                                     L"\u0436\u0430\u0431\u0430",
                                     L"\u03a9",
                                     L"\u03b1",
                                     L"_x",
                                     L"10",
                                     L"9"};
  sortIgnoringCase(names);
  const std::vector<std::wstring> expected = {L"10",
                                              L"9",
                                              L"_x",
                                              L"A",
                                              L"a",
                                              L"b",
                                              L"\u00e9cole",
                                              L"\u00c9t\u00e9",
                                              L"\u03b1",
                                              L"\u03a9",
                                              L"\u0436\u0430\u0431\u0430",
                                              L"\u0416\u0443\u043a"};
  EXPECT_EQ(names, expected);
  EXPECT_FALSE(lessIgnoringCase(L"a", L"a"));
  EXPECT_TRUE(lessIgnoringCase(L"ab", L"ABC"));
}

TEST(DriveText, ShowsTheSmallLetterAndTheLabelWhenThereIsOne) {
  EXPECT_EQ(driveText(L'C', L"SYSTEM"), L"c: [SYSTEM]");
  EXPECT_EQ(driveText(L'd', L""), L"d:");
  EXPECT_EQ(driveText(L'E', L"\u0424\u043e\u0442\u043e"), L"e: [\u0424\u043e\u0442\u043e]");
}

TEST(DriveText, ReadsBackAsTheDriveItNames) {
  EXPECT_EQ(driveLetterOf(L"c: [SYSTEM]"), L'C');
  EXPECT_EQ(driveLetterOf(L"D:"), L'D');
  EXPECT_EQ(driveLetterOf(L"z:\\pics"), L'Z');
  for (const wchar_t* text : {L"", L"c", L"1:", L"[c:]", L"\\\\server\\share", L"\u0441:"}) {
    EXPECT_FALSE(driveLetterOf(text).has_value()) << text;
  }
  EXPECT_EQ(driveRoot(L'c'), L"C:\\");
}

TEST(BitmapNames, MatchStarDotBmpInAnyCaseOnTheLongName) {
  for (const wchar_t* name : {L"a.bmp", L"B.BMP", L"c.Bmp", L".bmp", L"x.jpg.bmp", L"\u98ce\u666f.bmp"}) {
    EXPECT_TRUE(isBitmapName(name)) << name;
  }
  for (const wchar_t* name : {L"x.bmpx", L"x.bm", L"bmp", L"x.bmp.txt", L"x_bmp", L"x.dib", L""}) {
    EXPECT_FALSE(isBitmapName(name)) << name;
  }
  EXPECT_EQ(bitmapNames({L"c.BMP", L"notes.txt", L"A.bmp", L"b.bmpx", L"b.bmp"}),
            (std::vector<std::wstring>{L"A.bmp", L"b.bmp", L"c.BMP"}));
}

}  // namespace
}  // namespace slidewell::setup
