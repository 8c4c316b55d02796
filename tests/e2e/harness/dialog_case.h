#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "display.h"
#include "input.h"
#include "settings.h"

namespace slidewell::e2e {

// A case of the setup dialog: this program sees the dialog in its physical pixels, the pointer waits
// away from where the dialog opens (over none of it), and the case starts and ends with no configuration.
class DialogCase : public testing::Test {
 protected:
  static void SetUpTestSuite() { seePhysicalPixels(); }
  void SetUp() override {
    movePointerTo(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    clearSettings();
  }
  void TearDown() override { clearSettings(); }
};

}  // namespace slidewell::e2e
