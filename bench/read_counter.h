#pragma once

#include <cstdint>

namespace slidewell::bench {

// Counts the bytes that this program's own calls of ReadFile deliver, on any thread (the show's
// loader thread included), by routing the program's import of ReadFile through a counter for as long
// as it lives. Only one may live at a time.
class ReadFileCounter {
 public:
  ReadFileCounter();
  ReadFileCounter(const ReadFileCounter&) = delete;
  ReadFileCounter& operator=(const ReadFileCounter&) = delete;
  ~ReadFileCounter();

  // False when the import could not be found or rerouted: nothing is counted then.
  bool ok() const { return slot_ != nullptr; }
  std::uint64_t bytes() const;

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace slidewell::bench
