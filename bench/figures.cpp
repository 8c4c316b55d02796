#include "figures.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace slidewell::bench {

void Figures::note(const std::string& what, const std::string& value) {
  std::printf("%s: %s\n", what.c_str(), value.c_str());
}

void Figures::goal(const std::string& what, const std::string& value, double measured, const std::string& goalText,
                   double goal, const std::string& assumption) {
  const bool met = measured <= goal;
  ++(met ? met_ : missed_);
  std::printf("%s: %s | goal %s: %s%s%s\n", what.c_str(), value.c_str(), goalText.c_str(), met ? "met" : "MISSED",
              assumption.empty() ? "" : " | assumed: ", assumption.c_str());
}

void Figures::notMeasured(const std::string& what, const std::string& why) {
  ++notMeasured_;
  std::printf("%s: not measured: %s\n", what.c_str(), why.c_str());
}

void Figures::printSummary() const {
  std::printf("goals: %d met, %d missed, %d not measured\n", met_, missed_, notMeasured_);
}

std::string format(const char* pattern, ...) {
  std::va_list arguments;
  va_start(arguments, pattern);
  std::va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(nullptr, 0, pattern, arguments);
  va_end(arguments);
  std::vector<char> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1);
  std::vsnprintf(text.data(), text.size(), pattern, again);
  va_end(again);
  return text.data();
}

}  // namespace slidewell::bench
