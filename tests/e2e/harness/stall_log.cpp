#include "stall_log.h"

#include <algorithm>
#include <string>

#include "wait.h"
#include "win/handles.h"

namespace slidewell::e2e {
namespace {

// The log's text; empty while nothing was noted.
std::string logText() {
  wchar_t unixPath[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"SLIDEWELL_STALL_LOG", unixPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  // A path from the Unix side, reached through Wine's Z: drive.
  std::wstring path = L"Z:";
  for (const wchar_t c : std::wstring_view(unixPath, length)) path.push_back(c == L'/' ? L'\\' : c);
  const win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (file && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

}  // namespace

int delaysNotedOn(std::string_view part) {
  const std::string text = logText();
  int count = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    if (std::string_view(text).substr(start, end - start).find(part) != std::string_view::npos) ++count;
    start = end + 1;
  }
  return count;
}

bool waitForDelayOn(std::string_view part, int before, DWORD timeoutMs) {
  return testing_support::waitUntil([&] { return delaysNotedOn(part) > before; }, timeoutMs);
}

}  // namespace slidewell::e2e
