#include "win/gdi.h"

namespace slidewell::win {

namespace detail {
std::atomic<long>& gdiObjectCount() noexcept {
  static std::atomic<long> count{0};
  return count;
}
}  // namespace detail

long liveGdiObjects() noexcept { return detail::gdiObjectCount().load(); }

}  // namespace slidewell::win
