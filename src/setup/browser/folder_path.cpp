#include "setup/browser/folder_path.h"

#include <algorithm>

#include "setup/configuration.h"
#include "text/ascii_case.h"

namespace slidewell::setup {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongSharePrefix = L"\\\\?\\UNC\\";

bool isValidName(std::wstring_view name) {
  return std::none_of(name.begin(), name.end(), [](wchar_t c) {
    return c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos;
  });
}

std::vector<std::wstring_view> splitAtBackslashes(std::wstring_view text) {
  std::vector<std::wstring_view> parts;
  while (!text.empty()) {
    const auto end = text.find(L'\\');
    parts.push_back(text.substr(0, end));
    if (end == std::wstring_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return parts;
}

}  // namespace

std::wstring FolderPath::text() const {
  std::wstring path = root;
  for (const auto& name : names) path = joinpath(path, name);
  return path;
}

std::wstring FolderPath::longForm() const {
  const std::wstring path = text();
  if (path.starts_with(L"\\\\")) return std::wstring(kLongSharePrefix) + path.substr(2);
  return std::wstring(kLongPrefix) + path;
}

std::optional<FolderPath> parseFolderPath(std::wstring_view text) {
  std::wstring path(text);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.starts_with(kLongSharePrefix)) {
    path = L"\\\\" + path.substr(kLongSharePrefix.size());
  } else if (path.starts_with(kLongPrefix)) {
    path.erase(0, kLongPrefix.size());
  }

  FolderPath result;
  std::wstring_view rest(path);
  if (rest.size() >= 2 && text::isAsciiLetter(rest[0]) && rest[1] == L':') {
    if (rest.size() > 2 && rest[2] != L'\\') return std::nullopt;
    result.root = {text::asciiUpper(rest[0]), L':', L'\\'};
    rest.remove_prefix(2);
  } else if (rest.starts_with(L"\\\\")) {
    const auto parts = splitAtBackslashes(rest.substr(2));
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty() || !isValidName(parts[0]) || !isValidName(parts[1])) {
      return std::nullopt;
    }
    result.root = L"\\\\" + std::wstring(parts[0]) + L"\\" + std::wstring(parts[1]) + L"\\";
    rest.remove_prefix(std::min(rest.size(), 2 + parts[0].size() + 1 + parts[1].size()));
  } else {
    return std::nullopt;
  }

  for (const auto name : splitAtBackslashes(rest)) {
    if (name.empty() || name == L".") continue;
    if (name == L"..") {
      if (!result.names.empty()) result.names.pop_back();
      continue;
    }
    if (!isValidName(name)) return std::nullopt;
    result.names.emplace_back(name);
  }
  return result;
}

std::wstring driveText(wchar_t letter, std::wstring_view label) {
  std::wstring text{text::asciiLower(letter), L':'};
  if (!label.empty()) text += L" [" + std::wstring(label) + L"]";
  return text;
}

std::optional<wchar_t> driveLetterOf(std::wstring_view text) {
  if (text.size() < 2 || text[1] != L':') return std::nullopt;
  const wchar_t letter = text::asciiUpper(text[0]);
  if (letter < L'A' || letter > L'Z') return std::nullopt;
  return letter;
}

std::wstring driveRoot(wchar_t letter) { return {text::asciiUpper(letter), L':', L'\\'}; }

}  // namespace slidewell::setup
