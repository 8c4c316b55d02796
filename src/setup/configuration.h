#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "setup/setup_controls.h"

namespace slidewell::setup {

// The dialog's window-free logic: loading and saving the configuration, adding to the picture list, and
// the path rule that it and the browser share.

// What the dialog tells the user, keeping itself open, when "OK" could not write the whole configuration.
inline constexpr std::wstring_view kSaveFailedText =
    L"The configuration could not be saved.\n\n"
    L"Your pictures and settings are still in the setup window. Close this message, then choose OK to try "
    L"again, or Cancel to leave without saving.";
inline constexpr std::wstring_view kSaveFailedTitle = L"Unable to save the configuration";

// Fills the picture list, the interval box and the browser from the store, in this order: every non-empty
// value of the picture keys 0 to 100 (an empty one is skipped, reading goes on); "temps" (default "3",
// also when empty); "drive", then "dir", each only when not empty. A drive or folder that cannot be
// reached leaves the browser where it was.
void xload(SetupControls& controls, const settings::SettingsStore& store);

// Writes the whole configuration, attempting every write even after one failed, in this order: show the
// progress bar, clear "Preview" (so that selecting the entries in turn previews nothing), maximum 100;
// for each entry i select it, save it under the picture key for i, progress i+1; the empty string under
// the remaining picture keys up to 100, progress i; "temps" as typed; "dir"; "drive".
// True when every write succeeded. Otherwise the dialog is put back as it was before the save (progress
// hidden at 0, "Preview" and the list's selection restored) and false is returned, so that the user can
// be told and try again.
bool xsave(SetupControls& controls, settings::SettingsStore& store);

inline constexpr std::wstring_view kFullListText = L"99 pictures is the maximum";
inline constexpr std::wstring_view kFullListTitle = L"Unable to add a picture";

enum class AddResult { Added, ListFull, NothingSelected };

// "Add" and a double-click in the file list: appends the browser's selected file, joined to its folder,
// to the end of the picture list, which holds 99 pictures at most; a full list is told in a message box
// and stays as it was. Duplicates are allowed; the list's selection does not change. With no file
// selected there is nothing to add, and nothing happens.
AddResult addp(SetupControls& controls);

// The full path of file `name` in `folder`: exactly one backslash between them, none added after a
// folder that already ends with one (the root of a drive, "C:\").
std::wstring joinpath(std::wstring_view folder, std::wstring_view name);

}  // namespace slidewell::setup
