#include "slideshow/show_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_settings_store.h"
#include "settings/settings_store.h"

namespace slidewell::slideshow {
namespace {

using FakeStore = testing_support::MemorySettingsStore;

// A store holding `paths` under the picture keys from "Picture 0" on.
FakeStore storeWith(const std::vector<std::wstring>& paths) {
  FakeStore store;
  for (std::size_t i = 0; i < paths.size(); ++i) store.save(settings::pictureKey(static_cast<int>(i)), paths[i]);
  return store;
}

std::vector<std::wstring> run(PictureCycle& cycle, const settings::SettingsStore& store, int steps) {
  std::vector<std::wstring> paths;
  for (int i = 0; i < steps; ++i) paths.push_back(cycle.nextimg(store));
  return paths;
}

TEST(PictureCycle, GoesThroughTheStoredOrderAndStartsAgain) {
  const FakeStore store = storeWith({L"a", L"b", L"c", L""});
  PictureCycle cycle;
  EXPECT_EQ(cycle.picindex(), -1);
  EXPECT_EQ(run(cycle, store, 7), (std::vector<std::wstring>{L"a", L"b", L"c", L"a", L"b", L"c", L"a"}));
  EXPECT_EQ(cycle.picindex(), 0);
}

TEST(PictureCycle, AnEmptyOrAbsentKeyEndsTheList) {
  const FakeStore store = storeWith({L"a", L"b", L"", L"d"});
  PictureCycle cycle;
  EXPECT_EQ(run(cycle, store, 5), (std::vector<std::wstring>{L"a", L"b", L"a", L"b", L"a"}));

  FakeStore absent;  // "Picture 1" was never stored at all
  absent.save(L"Picture 0", L"a");
  absent.save(L"Picture 2", L"c");
  PictureCycle other;
  EXPECT_EQ(run(other, absent, 3), (std::vector<std::wstring>{L"a", L"a", L"a"}));
}

TEST(PictureCycle, WithNoPictureEveryStepGivesAnEmptyPath) {
  FakeStore store;
  PictureCycle cycle;
  EXPECT_EQ(run(cycle, store, 3), (std::vector<std::wstring>{L"", L"", L""}));
  // After the first step each one reads index 1, then index 0 again.
  EXPECT_EQ(store.reads, (std::vector<std::wstring>{L"Picture 0", L"Picture 0", L"Picture 1", L"Picture 0",
                                                    L"Picture 1", L"Picture 0"}));
  EXPECT_EQ(cycle.picindex(), 0);
}

TEST(PictureCycle, FollowsAListSavedWhileItRuns) {
  FakeStore store = storeWith({L"a", L"b"});
  PictureCycle cycle;
  EXPECT_EQ(cycle.nextimg(store), L"a");
  store.save(L"Picture 1", L"new");
  store.save(L"Picture 2", L"c");
  EXPECT_EQ(run(cycle, store, 3), (std::vector<std::wstring>{L"new", L"c", L"a"}));
  // A shorter list: index 2 is now empty, so the step after "x" goes back to the start.
  store.save(L"Picture 0", L"x");
  store.save(L"Picture 1", L"");
  EXPECT_EQ(run(cycle, store, 2), (std::vector<std::wstring>{L"x", L"x"}));
}

TEST(PictureCycle, ReadsNoKeyBeyondTheLastPictureKey) {
  std::vector<std::wstring> paths;
  for (int i = 0; i <= settings::kPictureKeyCount; ++i) paths.push_back(std::to_wstring(i));
  const FakeStore store = storeWith(paths);
  PictureCycle cycle;
  const auto shown = run(cycle, store, settings::kPictureKeyCount + 2);
  EXPECT_EQ(shown[settings::kPictureKeyCount - 1], L"100");
  EXPECT_EQ(shown[settings::kPictureKeyCount], L"0");
  EXPECT_EQ(shown[settings::kPictureKeyCount + 1], L"1");
  for (const auto& key : store.reads) EXPECT_NE(key, L"Picture 101");
}

}  // namespace
}  // namespace slidewell::slideshow
