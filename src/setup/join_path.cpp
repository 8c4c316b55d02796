#include "setup/join_path.h"

namespace slidewell::setup {

std::wstring joinpath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
  path.append(name);
  return path;
}

}  // namespace slidewell::setup
