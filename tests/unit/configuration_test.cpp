#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "memory_settings_store.h"
#include "setup/configuration.h"
#include "setup/setup_controls.h"

namespace slidewell::setup {
namespace {

using Log = std::vector<std::wstring>;

// Records every change made to the controls, in one log shared with the store, so that the order of
// control changes and store writes can be checked together.
class FakeControls final : public SetupControls {
 public:
  explicit FakeControls(Log& log) : log_(log) {}

  std::vector<std::wstring> pictures;
  int selected = -1;
  std::wstring file, folder = L"C:\\start", drive = L"c:", interval = L"3";
  bool preview = true, progressShown = false;
  int progress = 0;

  int pictureCount() const override { return static_cast<int>(pictures.size()); }
  std::wstring picture(int index) const override { return pictures.at(static_cast<std::size_t>(index)); }
  void appendPicture(std::wstring_view path) override { log_.push_back(L"append " + pictures.emplace_back(path)); }
  int selectedPicture() const override { return selected; }
  void selectPicture(int index) override { log_.push_back(L"select " + std::to_wstring(selected = index)); }
  std::wstring selectedFile() const override { return file; }
  std::wstring folderPath() const override { return folder; }
  void setFolderPath(std::wstring_view path) override { log_.push_back(L"folder " + (folder = path)); }
  std::wstring driveText() const override { return drive; }
  void setDriveText(std::wstring_view text) override { log_.push_back(L"drive " + (drive = text)); }
  std::wstring intervalText() const override { return interval; }
  void setIntervalText(std::wstring_view text) override { log_.push_back(L"interval " + (interval = text)); }
  bool previewChecked() const override { return preview; }
  void setPreviewChecked(bool checked) override {
    log_.push_back((preview = checked) ? L"preview on" : L"preview off");
  }
  void showProgress(bool shown) override {
    log_.push_back((progressShown = shown) ? L"progress shown" : L"progress hidden");
  }
  void setProgressMaximum(int maximum) override { log_.push_back(L"maximum " + std::to_wstring(maximum)); }
  void setProgressValue(int value) override { log_.push_back(L"progress " + std::to_wstring(progress = value)); }
  void showInformation(std::wstring_view text, std::wstring_view title) override {
    log_.push_back(L"message " + std::wstring(text) + L" / " + std::wstring(title));
  }

 private:
  Log& log_;
};

// A store in memory that can refuse writes, all of them or those of some keys.
class FakeStore final : public testing_support::MemorySettingsStore {
 public:
  explicit FakeStore(Log& log) : log_(log) {}

  bool refuseAll = false;
  std::set<std::wstring, std::less<>> refusedKeys;

  bool save(std::wstring_view key, std::wstring_view value) override {
    log_.push_back(L"save " + std::wstring(key) + L"=" + std::wstring(value));
    return !refuseAll && !refusedKeys.contains(key) && MemorySettingsStore::save(key, value);
  }

 private:
  Log& log_;
};

class ConfigurationTest : public testing::Test {
 protected:
  Log log;
  FakeControls controls{log};
  FakeStore store{log};
};

// The first and the last `count` lines of a log, so that a long one can be checked at its two ends.
Log head(const Log& log, std::ptrdiff_t count) {
  return Log(log.begin(), log.begin() + std::min<std::ptrdiff_t>(count, std::ssize(log)));
}
Log tail(const Log& log, std::ptrdiff_t count) {
  return Log(log.end() - std::min<std::ptrdiff_t>(count, std::ssize(log)), log.end());
}

std::ptrdiff_t saves(const Log& log) {
  return std::count_if(log.begin(), log.end(), [](const std::wstring& line) { return line.starts_with(L"save "); });
}

TEST_F(ConfigurationTest, FirstLoadWithNoKeysShowsTheDefaultIntervalAndLeavesTheBrowser) {
  xload(controls, store);
  EXPECT_EQ(log, (Log{L"interval 3"}));
}

TEST_F(ConfigurationTest, LoadSkipsEmptyPicturesThenSetsIntervalDriveAndFolderInThatOrder) {
  store.values = {{L"Picture 0", L"C:\\a.bmp"},      {L"Picture 1", L""},
                  {L"Picture 7", L"C:\\a.bmp"},      {L"Picture 100", L"D:\\\u56fe.bmp"},
                  {L"Picture101", L"C:\\never.bmp"}, {L"temps", L""},
                  {L"drive", L"d: [DATA]"},          {L"dir", L"D:\\pics"}};
  xload(controls, store);
  EXPECT_EQ(log, (Log{L"append C:\\a.bmp", L"append C:\\a.bmp", L"append D:\\\u56fe.bmp", L"interval ",
                      L"drive d: [DATA]", L"folder D:\\pics"}));
}

TEST_F(ConfigurationTest, LoadLeavesTheBrowserAloneForEmptyDriveAndFolder) {
  store.values = {{L"temps", L"abc"}, {L"drive", L""}, {L"dir", L""}};
  xload(controls, store);
  EXPECT_EQ(log, (Log{L"interval abc"}));
}

TEST_F(ConfigurationTest, SaveWritesEveryKeyInOrderWhileTheBarClimbs) {
  controls.pictures = {L"C:\\a.bmp", L"C:\\a.bmp", L"D:\\\u0424\u043e\u0442\u043e.bmp"};
  controls.interval = L"not a number";
  EXPECT_TRUE(xsave(controls, store));
  // clang-format off
  const Log expected{
      L"progress shown", L"preview off", L"maximum 100",
      L"select 0", L"save Picture 0=C:\\a.bmp", L"progress 1",
      L"select 1", L"save Picture 1=C:\\a.bmp", L"progress 2",
      L"select 2", L"save Picture 2=D:\\\u0424\u043e\u0442\u043e.bmp", L"progress 3",
      // The first free key leaves the bar where the last entry put it.
      L"save Picture 3=", L"progress 3", L"save Picture 4=", L"progress 4", L"save Picture 5=", L"progress 5",
      L"save Picture 6=", L"progress 6", L"save Picture 7=", L"progress 7", L"save Picture 8=", L"progress 8",
      L"save Picture 9=", L"progress 9", L"save Picture 10=", L"progress 10", L"save Picture 11=", L"progress 11",
      L"save Picture 12=", L"progress 12", L"save Picture 13=", L"progress 13", L"save Picture 14=", L"progress 14",
      L"save Picture 15=", L"progress 15", L"save Picture 16=", L"progress 16", L"save Picture 17=", L"progress 17",
      L"save Picture 18=", L"progress 18", L"save Picture 19=", L"progress 19", L"save Picture 20=", L"progress 20",
      L"save Picture 21=", L"progress 21", L"save Picture 22=", L"progress 22", L"save Picture 23=", L"progress 23",
      L"save Picture 24=", L"progress 24", L"save Picture 25=", L"progress 25", L"save Picture 26=", L"progress 26",
      L"save Picture 27=", L"progress 27", L"save Picture 28=", L"progress 28", L"save Picture 29=", L"progress 29",
      L"save Picture 30=", L"progress 30", L"save Picture 31=", L"progress 31", L"save Picture 32=", L"progress 32",
      L"save Picture 33=", L"progress 33", L"save Picture 34=", L"progress 34", L"save Picture 35=", L"progress 35",
      L"save Picture 36=", L"progress 36", L"save Picture 37=", L"progress 37", L"save Picture 38=", L"progress 38",
      L"save Picture 39=", L"progress 39", L"save Picture 40=", L"progress 40", L"save Picture 41=", L"progress 41",
      L"save Picture 42=", L"progress 42", L"save Picture 43=", L"progress 43", L"save Picture 44=", L"progress 44",
      L"save Picture 45=", L"progress 45", L"save Picture 46=", L"progress 46", L"save Picture 47=", L"progress 47",
      L"save Picture 48=", L"progress 48", L"save Picture 49=", L"progress 49", L"save Picture 50=", L"progress 50",
      L"save Picture 51=", L"progress 51", L"save Picture 52=", L"progress 52", L"save Picture 53=", L"progress 53",
      L"save Picture 54=", L"progress 54", L"save Picture 55=", L"progress 55", L"save Picture 56=", L"progress 56",
      L"save Picture 57=", L"progress 57", L"save Picture 58=", L"progress 58", L"save Picture 59=", L"progress 59",
      L"save Picture 60=", L"progress 60", L"save Picture 61=", L"progress 61", L"save Picture 62=", L"progress 62",
      L"save Picture 63=", L"progress 63", L"save Picture 64=", L"progress 64", L"save Picture 65=", L"progress 65",
      L"save Picture 66=", L"progress 66", L"save Picture 67=", L"progress 67", L"save Picture 68=", L"progress 68",
      L"save Picture 69=", L"progress 69", L"save Picture 70=", L"progress 70", L"save Picture 71=", L"progress 71",
      L"save Picture 72=", L"progress 72", L"save Picture 73=", L"progress 73", L"save Picture 74=", L"progress 74",
      L"save Picture 75=", L"progress 75", L"save Picture 76=", L"progress 76", L"save Picture 77=", L"progress 77",
      L"save Picture 78=", L"progress 78", L"save Picture 79=", L"progress 79", L"save Picture 80=", L"progress 80",
      L"save Picture 81=", L"progress 81", L"save Picture 82=", L"progress 82", L"save Picture 83=", L"progress 83",
      L"save Picture 84=", L"progress 84", L"save Picture 85=", L"progress 85", L"save Picture 86=", L"progress 86",
      L"save Picture 87=", L"progress 87", L"save Picture 88=", L"progress 88", L"save Picture 89=", L"progress 89",
      L"save Picture 90=", L"progress 90", L"save Picture 91=", L"progress 91", L"save Picture 92=", L"progress 92",
      L"save Picture 93=", L"progress 93", L"save Picture 94=", L"progress 94", L"save Picture 95=", L"progress 95",
      L"save Picture 96=", L"progress 96", L"save Picture 97=", L"progress 97", L"save Picture 98=", L"progress 98",
      L"save Picture 99=", L"progress 99", L"save Picture 100=", L"progress 100",
      L"save temps=not a number", L"save dir=C:\\start", L"save drive=c:"};
  // clang-format on
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(controls.preview);
}

TEST_F(ConfigurationTest, SaveOfAnEmptyListBlanksAll101PictureKeys) {
  controls.interval = L"";
  EXPECT_TRUE(xsave(controls, store));
  EXPECT_EQ(head(log, 7), (Log{L"progress shown", L"preview off", L"maximum 100", L"save Picture 0=", L"progress 0",
                               L"save Picture 1=", L"progress 1"}));
  EXPECT_EQ(tail(log, 7), (Log{L"save Picture 99=", L"progress 99", L"save Picture 100=", L"progress 100",
                               L"save temps=", L"save dir=C:\\start", L"save drive=c:"}));
  // 3 steps before the keys, a save and a value of the bar for each of the 101 keys, 3 saves after them.
  EXPECT_EQ(log.size(), 208u);
  EXPECT_EQ(saves(log), 104);
  EXPECT_EQ(store.values.size(), 104u);
}

TEST_F(ConfigurationTest, AFullListSavesWholeWithTheLastTwoKeysEmpty) {
  for (int i = 0; i < 99; ++i) controls.pictures.push_back(L"C:\\p" + std::to_wstring(i) + L".bmp");
  EXPECT_TRUE(xsave(controls, store));
  EXPECT_EQ(head(log, 6), (Log{L"progress shown", L"preview off", L"maximum 100", L"select 0",
                               L"save Picture 0=C:\\p0.bmp", L"progress 1"}));
  EXPECT_EQ(tail(log, 10),
            (Log{L"select 98", L"save Picture 98=C:\\p98.bmp", L"progress 99", L"save Picture 99=", L"progress 99",
                 L"save Picture 100=", L"progress 100", L"save temps=3", L"save dir=C:\\start", L"save drive=c:"}));
  // 3 steps before the keys, 3 for each of the 99 entries, 2 for each of the 2 free keys, 3 saves after.
  EXPECT_EQ(log.size(), 307u);
  EXPECT_EQ(saves(log), 104);
}

TEST_F(ConfigurationTest, AStoredGapIsSavedBackContiguously) {
  store.values = {{L"Picture 0", L"C:\\a.bmp"}, {L"Picture 2", L"C:\\b.bmp"}};
  xload(controls, store);
  ASSERT_TRUE(xsave(controls, store));
  EXPECT_EQ(store.values[L"Picture 0"], L"C:\\a.bmp");
  EXPECT_EQ(store.values[L"Picture 1"], L"C:\\b.bmp");
  EXPECT_EQ(store.values[L"Picture 2"], L"");
}

TEST_F(ConfigurationTest, ARefusingStoreGetsEveryWriteAttemptedAndTheDialogBackAsItWas) {
  controls.pictures = {L"C:\\a.bmp", L"C:\\b.bmp"};
  controls.selected = 0;
  store.refuseAll = true;
  EXPECT_FALSE(xsave(controls, store));
  EXPECT_EQ(head(log, 9),
            (Log{L"progress shown", L"preview off", L"maximum 100", L"select 0", L"save Picture 0=C:\\a.bmp",
                 L"progress 1", L"select 1", L"save Picture 1=C:\\b.bmp", L"progress 2"}));
  EXPECT_EQ(tail(log, 9), (Log{L"save Picture 100=", L"progress 100", L"save temps=3", L"save dir=C:\\start",
                               L"save drive=c:", L"select 0", L"preview on", L"progress 0", L"progress hidden"}));
  // 3 steps before the keys, 3 for each of the 2 entries, 2 for each of the 99 free keys, 3 saves after,
  // and the 4 steps that put the dialog back.
  EXPECT_EQ(log.size(), 214u);
  EXPECT_EQ(saves(log), 104);
  EXPECT_EQ(controls.pictures.size(), 2u);
}

TEST_F(ConfigurationTest, OneRefusedWriteFailsTheSaveButTheLaterWritesStillHappen) {
  controls.preview = false;
  store.refusedKeys = {L"Picture 50"};
  EXPECT_FALSE(xsave(controls, store));
  EXPECT_EQ(store.values.size(), 103u);
  EXPECT_EQ(store.values[L"drive"], L"c:");
  EXPECT_FALSE(controls.preview);
  EXPECT_FALSE(controls.progressShown);
  EXPECT_EQ(controls.selected, -1);
}

TEST_F(ConfigurationTest, AddJoinsTheSelectedFileToItsFolderUpTo99Pictures) {
  controls.file = L"\u98ce\u666f.bmp";
  controls.folder = L"C:\\";
  EXPECT_EQ(addp(controls), AddResult::Added);
  controls.folder = L"C:\\pics";
  for (int i = 1; i < 99; ++i) EXPECT_EQ(addp(controls), AddResult::Added);
  ASSERT_EQ(controls.pictures.size(), 99u);
  EXPECT_EQ(controls.pictures.front(), L"C:\\\u98ce\u666f.bmp");
  EXPECT_EQ(controls.pictures.back(), L"C:\\pics\\\u98ce\u666f.bmp");
  EXPECT_EQ(controls.selected, -1);

  log.clear();
  EXPECT_EQ(addp(controls), AddResult::ListFull);
  EXPECT_EQ(log, (Log{L"message 99 pictures is the maximum / Unable to add a picture"}));
  EXPECT_EQ(controls.pictures.size(), 99u);
}

TEST_F(ConfigurationTest, AddWithNoFileSelectedAddsNothing) {
  EXPECT_EQ(addp(controls), AddResult::NothingSelected);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace slidewell::setup
