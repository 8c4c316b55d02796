#pragma once

#include <cstdint>
#include <vector>

namespace slidewell::bench {

// Watches this program's own calls of ReadFile, on any thread (the show's loader thread included), by
// routing the program's import of ReadFile through it for as long as it lives: the bytes they deliver,
// the time spent in them, and where each read. Only one may live at a time.
class ReadFileCounter {
 public:
  struct Read {
    std::uint64_t offset;
    std::uint32_t bytes;
  };

  ReadFileCounter();
  ReadFileCounter(const ReadFileCounter&) = delete;
  ReadFileCounter& operator=(const ReadFileCounter&) = delete;
  ~ReadFileCounter();

  // False when the import could not be found or rerouted: nothing is watched then.
  bool ok() const { return slot_ != nullptr; }
  // Forgets what was seen so far.
  void clear() const;
  std::uint64_t bytes() const;
  double ms() const;
  // The reads made, where each started, in the order they were made.
  std::vector<Read> reads() const;

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace slidewell::bench
