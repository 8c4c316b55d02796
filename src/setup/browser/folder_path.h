#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidewell::setup {

// A full folder path taken apart: its root ("C:\" or "\\server\share\") and the folder names below it.
struct FolderPath {
  std::wstring root;
  std::vector<std::wstring> names;

  // The path as the folder list reports it: "C:\" for a root, "C:\pics\2024" below it.
  std::wstring text() const;
  // The same with the "\\?\" prefix, so that the file system takes it whole, even beyond 260 characters.
  std::wstring longForm() const;

  bool operator==(const FolderPath&) const = default;
};

// Reads a full folder path in the forms the platform accepts: "C:\a\b", "c:/a/b/", "C:" (the root),
// "\\server\share\a", each also behind "\\?\" ("\\?\UNC\server\share" for a share). "." and ".." are
// resolved, never above the root. nullopt for a relative path ("a\b", "C:a", "\a") and for a name holding
// a character that no folder name may hold (wildcards among them).
std::optional<FolderPath> parseFolderPath(std::wstring_view text);

// How the drive list shows a drive, and the text it reports as its current drive: the small letter and a
// colon, then the volume label in brackets when the drive has one ("c: [SYSTEM]", "d:").
std::wstring driveText(wchar_t letter, std::wstring_view label);

// The drive that a drive text, a stored one or a full path names, as its capital letter ("c: [SYSTEM]" and
// "C:\pics" both give 'C'); nullopt when the text does not start with a letter and a colon.
std::optional<wchar_t> driveLetterOf(std::wstring_view text);

// The root folder of a drive: 'C' gives "C:\".
std::wstring driveRoot(wchar_t letter);

}  // namespace slidewell::setup
