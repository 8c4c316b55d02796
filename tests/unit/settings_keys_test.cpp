#include <gtest/gtest.h>

#include <array>
#include <cstddef>

#include "settings/settings_store.h"
#include "settings/stored_text.h"

namespace slidewell::settings {
namespace {

TEST(SettingsKeys, NameTheSectionAndEachPictureSlot) {
  EXPECT_EQ(sectionPath(), L"Software\\SWPIC1\\Main");
  EXPECT_EQ(pictureKey(0), L"Picture 0");
  EXPECT_EQ(pictureKey(9), L"Picture 9");
  EXPECT_EQ(pictureKey(10), L"Picture 10");
  EXPECT_EQ(pictureKey(100), L"Picture 100");
}

std::vector<std::byte> bytes(std::initializer_list<int> values) {
  std::vector<std::byte> out;
  for (int v : values) out.push_back(static_cast<std::byte>(v));
  return out;
}

TEST(StoredText, ReadsWhatThisProgramWrites) {
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({'a', 0, 'b', 0, 0, 0})), L"ab");
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({0, 0})), L"");
  // Cyrillic "Ж" and Chinese "图" are one UTF-16 unit each.
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({0x16, 0x04, 0xFE, 0x56, 0, 0})), L"\u0416\u56FE");
}

TEST(StoredText, ReadsForeignDataSoundly) {
  // No terminating NUL: the whole data is the text.
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({'a', 0, 'b', 0})), L"ab");
  // An odd byte count: the stray last byte is dropped.
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({'a', 0, 'b'})), L"a");
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({'a'})), L"");
  // Nothing at all: an empty text.
  EXPECT_EQ(readStoredText(StoredKind::String, {}), L"");
  // The text ends at the first NUL; what follows is not part of it.
  EXPECT_EQ(readStoredText(StoredKind::String, bytes({'a', 0, 0, 0, 'b', 0, 0, 0})), L"a");
  // A value that is not a string reads as absent, so the reader's default stands.
  EXPECT_EQ(readStoredText(StoredKind::Other, bytes({'3', 0, 0, 0})), std::nullopt);
}

}  // namespace
}  // namespace slidewell::settings
