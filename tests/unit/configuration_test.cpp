#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "memory_settings_store.h"
#include "settings/settings_store.h"
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

// The exact sequence a save must follow for a list of `pictures` entries.
Log expectedSave(const std::vector<std::wstring>& pictures, const std::wstring& interval, const std::wstring& folder,
                 const std::wstring& drive) {
  Log expected = {L"progress shown", L"preview off", L"maximum 100"};
  const int count = static_cast<int>(pictures.size());
  for (int i = 0; i < count; ++i) {
    expected.push_back(L"select " + std::to_wstring(i));
    expected.push_back(L"save " + settings::pictureKey(i) + L"=" + pictures[static_cast<std::size_t>(i)]);
    expected.push_back(L"progress " + std::to_wstring(i + 1));
  }
  for (int i = count; i <= 100; ++i) {
    expected.push_back(L"save " + settings::pictureKey(i) + L"=");
    expected.push_back(L"progress " + std::to_wstring(i));
  }
  expected.push_back(L"save temps=" + interval);
  expected.push_back(L"save dir=" + folder);
  expected.push_back(L"save drive=" + drive);
  return expected;
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
  EXPECT_EQ(log, expectedSave(controls.pictures, L"not a number", L"C:\\start", L"c:"));
  EXPECT_FALSE(controls.preview);
}

TEST_F(ConfigurationTest, SaveOfAnEmptyListBlanksAll101PictureKeys) {
  controls.interval = L"";
  EXPECT_TRUE(xsave(controls, store));
  EXPECT_EQ(log, expectedSave({}, L"", L"C:\\start", L"c:"));
}

TEST_F(ConfigurationTest, AFullListSavesWholeWithTheLastTwoKeysEmpty) {
  for (int i = 0; i < 99; ++i) controls.pictures.push_back(L"C:\\p" + std::to_wstring(i) + L".bmp");
  EXPECT_TRUE(xsave(controls, store));
  EXPECT_EQ(log, expectedSave(controls.pictures, L"3", L"C:\\start", L"c:"));
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
  Log expected = expectedSave(controls.pictures, L"3", L"C:\\start", L"c:");
  for (const wchar_t* restore : {L"select 0", L"preview on", L"progress 0", L"progress hidden"}) {
    expected.push_back(restore);
  }
  EXPECT_EQ(log, expected);
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
