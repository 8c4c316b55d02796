#pragma once

namespace slidewell::testing_support {

// How many GDI objects this program's own code holds right now: every bitmap, brush, font and memory
// DC it created through gdi32, less those it deleted. Counted by watching the program's calls into
// gdi32 (its import table), since the platform's own count is not available everywhere (Wine's
// GetGuiResources returns 0). Objects that system libraries make for themselves are not counted.
long liveGdiObjects();

}  // namespace slidewell::testing_support
