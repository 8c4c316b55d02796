#pragma once

#include <utility>

namespace slidewell::win {

// One owner for one handle: move-only, frees on destruction. Traits supply the empty value and the
// function that frees, so every handle type (registry key, bitmap, DC, file...) is owned the same way.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

  Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }

  void reset(Handle handle = Traits::empty()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::empty()) Traits::close(old);
  }

  // For functions that hand out a new handle through a pointer: frees what is held first.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::empty();
};

}  // namespace slidewell::win
