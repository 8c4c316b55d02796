#pragma once

#include <objidl.h>

#include <memory>

#include "win/com.h"
#include "win/file_bytes.h"

namespace slidewell::win {

// A read-only stream over `file`, for giving a decoder a file through reads that mark their progress
// (see FileBytes); writing, locking and cloning are refused. Null when no memory is to be had.
UniqueCom<IStream> fileStream(std::unique_ptr<FileBytes> file);

}  // namespace slidewell::win
