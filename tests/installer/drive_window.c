/* A Windows program with which the installer tests act as a user would, from outside the program they
 * drive, in the Wine session's prefix:
 *   drive_window key TITLE
 *     waits for a top-level window titled TITLE, brings it to the front and types a space into it;
 *   drive_window pages TITLE_START [BOX_TEXT]
 *     goes through the pages of the wizard whose top-level window's title starts with TITLE_START,
 *     ticking the check box captioned BOX_TEXT where a page shows it, and pressing the wizard's default
 *     button (Next, Install, Uninstall, Close) until the wizard is gone.
 * Exits 0 when done, 1 when the window never came or the wizard never ended, 2 on a wrong command line.
 * Every wait is bounded: 60 s in all. */
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

enum { kStepMs = 200, kBoundMs = 60000 };

typedef struct {
  const wchar_t* text;
  size_t length;
  HWND found;
} Search;

static BOOL CALLBACK findTopLevel(HWND window, LPARAM param) {
  Search* search = (Search*)param;
  wchar_t title[256];
  if (IsWindowVisible(window) && GetWindowTextW(window, title, 256) > 0 &&
      wcsncmp(title, search->text, search->length) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

static BOOL CALLBACK findCheckBox(HWND window, LPARAM param) {
  Search* search = (Search*)param;
  wchar_t text[256];
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
  if (IsWindowVisible(window) && (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX) &&
      GetWindowTextW(window, text, 256) > 0 && wcscmp(text, search->text) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

/* The visible top-level window whose title starts with TITLE (or is TITLE, when whole), or NULL. */
static HWND topLevel(const wchar_t* title, BOOL whole) {
  Search search = {title, whole ? wcslen(title) + 1 : wcslen(title), NULL};
  EnumWindows(findTopLevel, (LPARAM)&search);
  return search.found;
}

static int typeSpace(const wchar_t* title) {
  for (const ULONGLONG end = GetTickCount64() + kBoundMs; GetTickCount64() < end;) {
    const HWND window = topLevel(title, TRUE);
    if (window != NULL) {
      SetForegroundWindow(window);
      INPUT keys[2] = {{.type = INPUT_KEYBOARD}, {.type = INPUT_KEYBOARD}};
      keys[0].ki.wVk = keys[1].ki.wVk = VK_SPACE;
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
      return 0;
    }
    Sleep(kStepMs);
  }
  fwprintf(stderr, L"drive_window: no window titled %ls\n", title);
  return 1;
}

static int goThroughPages(const wchar_t* titleStart, const wchar_t* boxText) {
  BOOL seen = FALSE;
  for (const ULONGLONG end = GetTickCount64() + kBoundMs; GetTickCount64() < end;) {
    const HWND wizard = topLevel(titleStart, FALSE);
    if (wizard == NULL) {
      if (seen) return 0;
      Sleep(kStepMs);
      continue;
    }
    seen = TRUE;
    /* Clicks are posted: a wizard answers a click on Next by running the next page's own message loop,
     * and a click sent would wait for that page to end. */
    Search search = {boxText, 0, NULL};
    if (boxText != NULL) EnumChildWindows(wizard, findCheckBox, (LPARAM)&search);
    const HWND next = GetDlgItem(wizard, IDOK);
    if (search.found != NULL && SendMessageW(search.found, BM_GETCHECK, 0, 0) != BST_CHECKED)
      PostMessageW(search.found, BM_CLICK, 0, 0);
    else if (next != NULL && IsWindowEnabled(next) && IsWindowVisible(next))
      PostMessageW(next, BM_CLICK, 0, 0);
    Sleep(kStepMs * 2);
  }
  fwprintf(stderr, seen ? L"drive_window: the wizard %ls did not end\n" : L"drive_window: no wizard %ls\n", titleStart);
  return 1;
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && wcscmp(argv[1], L"key") == 0) return typeSpace(argv[2]);
  if ((argc == 3 || argc == 4) && wcscmp(argv[1], L"pages") == 0)
    return goThroughPages(argv[2], argc == 4 ? argv[3] : NULL);
  fwprintf(stderr, L"usage: drive_window key TITLE | drive_window pages TITLE_START [BOX_TEXT]\n");
  return 2;
}
