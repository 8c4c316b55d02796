#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "harness/program.h"

// The first argument is the path of slidewell.scr. ctest passes the build's path; a path from the
// Unix side is reached through Wine's Z: drive.
int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fwprintf(stderr, L"usage: %ls PATH-OF-slidewell.scr\n", argv[0]);
    return 2;
  }
  std::wstring path = argv[1];
  if (!path.empty() && path.front() == L'/') {
    for (auto& c : path) c = c == L'/' ? L'\\' : c;
    path.insert(0, L"Z:");
  }
  slidewell::e2e::setScrPath(path);
  return RUN_ALL_TESTS();
}
