#include "program.h"

#include <utility>
#include <vector>

#include "wait.h"

namespace slidewell::e2e {
namespace {

std::wstring& storedScrPath() {
  static std::wstring path;
  return path;
}

struct WindowSearch {
  DWORD processId;
  std::optional<std::wstring_view> title;  // any title when empty
  std::vector<HWND> found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->title && windowText(window) != *search->title) return TRUE;
  search->found.push_back(window);
  return search->title ? FALSE : TRUE;  // one window of that title is enough
}

std::vector<HWND> visibleWindows(DWORD processId, std::optional<std::wstring_view> title) {
  WindowSearch search{processId, title, {}};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

const std::wstring& scrPath() { return storedScrPath(); }
void setScrPath(std::wstring path) { storedScrPath() = std::move(path); }

RunningProgram::RunningProgram(std::wstring_view arguments, const std::wstring& workingFolder) {
  std::wstring commandLine = L"\"" + scrPath() + L"\" " + std::wstring(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(scrPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
  }
}

RunningProgram::~RunningProgram() {
  if (running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool RunningProgram::waitForExit(DWORD timeoutMs) const {
  return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool RunningProgram::running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunningProgram::exitCode() const {
  DWORD code = 0;
  if (!process_ || running() || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

HWND RunningProgram::waitForWindow(std::wstring_view title, DWORD timeoutMs) const {
  std::vector<HWND> found;
  testing_support::waitUntil([&] { return !(found = visibleWindows(processId_, title)).empty(); }, timeoutMs);
  return found.empty() ? nullptr : found.front();
}

HWND RunningProgram::anyWindow() const {
  const auto found = windows();
  return found.empty() ? nullptr : found.front();
}

std::vector<HWND> RunningProgram::windows() const { return visibleWindows(processId_, std::nullopt); }

HWND RunningProgram::waitForShowWindow() const { return started() ? waitForWindow(L"Form1", 10000) : nullptr; }

testing::AssertionResult endsWithCodeZero(const RunningProgram& program, DWORD timeoutMs) {
  if (!program.waitForExit(timeoutMs)) return testing::AssertionFailure() << "running after " << timeoutMs << " ms";
  const auto code = program.exitCode();
  if (code != DWORD{0}) return testing::AssertionFailure() << "exit code " << testing::PrintToString(code);
  return testing::AssertionSuccess();
}

std::wstring windowText(HWND window) {
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

}  // namespace slidewell::e2e
