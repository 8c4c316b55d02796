#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "setup/browser/drive_list.h"
#include "setup/browser/file_list.h"
#include "setup/browser/folder_list.h"
#include "setup/browser/folder_reading.h"
#include "win/worker.h"

namespace slidewell::setup {

// How long a move of the browser made while the configuration loads (to the stored drive, to the stored
// folder) waits for its read before it takes the drive or folder as one that cannot be read, so that a
// hung one delays the dialog by no more than that. The read goes on on a thread of its own (see
// win::Worker).
inline constexpr std::chrono::milliseconds kBrowseWait{400};
// How long a call on the file system of a move, or the move's wait for a thread behind reads that hang,
// may take before the move is given up.
inline constexpr std::chrono::milliseconds kBrowseStallBound{2000};

// The dialog's file browser: the drive list, the folder list and the file list moving together, and
// the "Add" button that adds the file chosen in it. Each change of folder reads the new folder once and
// shows it in both lists; it disables "Add", which a click on a file of that folder enables again. A
// drive or folder that cannot be read changes nothing.
//
// The moves are read on a thread of their own, so that a drive or folder that hangs never holds the
// window: the lists stay as they were, and usable, until the read has ended, and then move. A newer
// move gives up an older one still being read, and a move whose call on the file system (or whose wait
// for a thread, behind hung reads) has not returned within kBrowseStallBound is given up and leads
// nowhere. `arrived`, when given, is told the end of each of the user's moves: whether the lists moved.
// The moves that loading the configuration makes wait for their read, but at most kBrowseWait: one not
// read by then arrives when it is read, unless the user moves first.
class Browser {
 public:
  // Starts in `startFolder` (where the program runs).
  Browser(HWND drives, HWND folders, HWND files, HWND add, std::wstring_view startFolder,
          std::function<void(bool moved)> arrived = nullptr);

  // The user chose another drive in the drive list. The folder list moves to that drive's current
  // folder (for the drive the program runs on, the folder it runs in) or, when that cannot be read, the
  // drive's root. When the drive cannot be read at all the drive list goes back to the folder's drive.
  // Both start the read and tell whether they did.
  bool followDrive();
  // A double-click or Enter in the folder list; nothing to read when it is on the current folder.
  bool openSelectedFolder();

  // A stored drive, as text ("c: [SYSTEM]"): made current, and the folder list follows as above.
  // Both tell whether the lists moved within kBrowseWait.
  bool moveToDrive(std::wstring_view text);
  // A stored folder: made current, and the drive list shows the drive it is on.
  bool moveToFolder(std::wstring_view path);

  // A click in the file list: enables "Add" and gives the chosen file's full path; nullopt when no
  // file is selected.
  std::optional<std::wstring> chooseFile();

  std::wstring driveText() const { return drives_.text(); }
  std::wstring folderPath() const { return folders_.path(); }
  std::wstring selectedFile() const { return files_.selectedName(); }

  void drawFolder(const DRAWITEMSTRUCT& item) const { folders_.draw(item); }
  // After the folder list got another font.
  void fitToFont() { folders_.fitToFont(); }

 private:
  using Reader = win::Worker<std::monostate, Destination>;

  static Reader::Job toDrive(wchar_t letter);
  static Reader::Job toFolder(const FolderPath& folder);
  // Starts the move and waits `wait` at most for it: whether the lists moved by then. `told` says
  // whether `arrived` hears of its end.
  bool startMove(Reader::Job job, std::chrono::milliseconds wait, bool told);
  bool arriveAt(const Destination& destination);

  Reader reader_;
  DriveList drives_;
  FolderList folders_;
  FileList files_;
  HWND add_;
  std::function<void(bool moved)> arrived_;
  bool lastMoved_ = false;  // whether the last move that ended moved the lists
};

}  // namespace slidewell::setup
