#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace slidewell::settings {

// How a stored value's raw bytes read as text. The store may hold data some other program wrote:
//  - only string values count: any other kind (number, binary, multi-string, expandable) reads as absent;
//  - the text is UTF-16 and ends at the first NUL, or at the end of the data when no NUL terminates it;
//  - an odd trailing byte is not half a character and is dropped.
enum class StoredKind { String, Other };

std::optional<std::wstring> readStoredText(StoredKind kind, std::span<const std::byte> data);

}  // namespace slidewell::settings
