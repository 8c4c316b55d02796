#include "settings/registry_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace slidewell::settings {
namespace {

const std::wstring kSectionPath = sectionPath();
const wchar_t* const kSection = kSectionPath.c_str();

// Each case starts with no configuration at all, as on a first run.
class RegistrySettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SWPIC1"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SWPIC1"); }

  // Writes a raw value, as another program might.
  static void writeRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSection, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }

  static DWORD storedType(const wchar_t* name) {
    DWORD type = REG_NONE;
    RegGetValueW(HKEY_CURRENT_USER, kSection, name, RRF_RT_ANY, &type, nullptr, nullptr);
    return type;
  }

  RegistrySettingsStore store;
};

TEST_F(RegistrySettingsStoreTest, TellsAnAbsentValueFromAnEmptyOne) {
  EXPECT_EQ(store.get(L"temps", L"3"), L"3");
  ASSERT_TRUE(store.save(L"temps", L""));
  EXPECT_EQ(store.get(L"temps", L"3"), L"");
  EXPECT_EQ(store.get(L"Picture 0", L"none"), L"none");
}

TEST_F(RegistrySettingsStoreTest, SaveCreatesTheSectionAndReplacesEarlierValues) {
  ASSERT_TRUE(store.save(L"Picture 0", L"C:\\a.bmp"));
  EXPECT_EQ(storedType(L"Picture 0"), static_cast<DWORD>(REG_SZ));
  ASSERT_TRUE(store.save(L"Picture 0", L"D:\\b.bmp"));
  EXPECT_EQ(store.get(L"Picture 0", L""), L"D:\\b.bmp");
  // Keys are the exact names: no value named without the space is read for "Picture 1".
  ASSERT_TRUE(store.save(L"Picture1", L"x"));
  EXPECT_EQ(store.get(L"Picture 1", L"absent"), L"absent");
}

TEST_F(RegistrySettingsStoreTest, RoundTripsTextOutsideLatin1) {
  const std::wstring texts[] = {
      L"C:\\\u041a\u0430\u0440\u0442\u0438\u043d\u043a\u0438\\\u0437\u0438\u043c\u0430.bmp",  // Cyrillic
      L"C:\\\u56fe\u7247\\\u98ce\u666f.bmp",                                                  // Chinese
      L"C:\\\U0001F600\\smile \U0001F30D.bmp",                                                // emoji
  };
  for (const auto& text : texts) {
    ASSERT_TRUE(store.save(L"dir", text));
    EXPECT_EQ(store.get(L"dir", L""), text);
  }
}

TEST_F(RegistrySettingsStoreTest, ForeignValuesReadSoundly) {
  const DWORD number = 5;
  writeRaw(L"temps", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(store.get(L"temps", L"3"), L"3");

  const wchar_t multi[] = L"a\0b\0";
  writeRaw(L"Picture 0", REG_MULTI_SZ, multi, sizeof multi);
  EXPECT_EQ(store.get(L"Picture 0", L""), L"");

  const unsigned char blob[] = {0x41, 0x00, 0x42};
  writeRaw(L"Picture 1", REG_BINARY, blob, sizeof blob);
  EXPECT_EQ(store.get(L"Picture 1", L"default"), L"default");

  const wchar_t unterminated[] = {L'4', L'2'};
  writeRaw(L"temps", REG_SZ, unterminated, sizeof unterminated);
  EXPECT_EQ(store.get(L"temps", L"3"), L"42");

  writeRaw(L"drive", REG_SZ, blob, sizeof blob);  // "A" and one stray byte
  EXPECT_EQ(store.get(L"drive", L""), L"A");

  writeRaw(L"dir", REG_SZ, nullptr, 0);
  EXPECT_EQ(store.get(L"dir", L"default"), L"");
}

TEST_F(RegistrySettingsStoreTest, ReadsAVeryLongValueWhole) {
  const std::wstring longText(512 * 1024, L'x');  // 1 MB of UTF-16
  writeRaw(L"Picture 2", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() * sizeof(wchar_t)));
  EXPECT_EQ(store.get(L"Picture 2", L""), longText);
}

}  // namespace
}  // namespace slidewell::settings
