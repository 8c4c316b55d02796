#pragma once

#include <string>

namespace slidewell::bench {

// The benchmark's output, a line a figure: what was measured and its value, and for a figure with a
// goal, the goal and whether it was met, as the benchmark itself judges it. A goal that rests on an
// assumption says so on its line.
class Figures {
 public:
  // A figure without a goal: a floor, or one to know.
  void note(const std::string& what, const std::string& value);
  // A figure whose goal is `goal` at most.
  void goal(const std::string& what, const std::string& value, double measured, const std::string& goalText,
            double goal, const std::string& assumption = {});
  // A figure that could not be measured, with the reason.
  void notMeasured(const std::string& what, const std::string& why);

  // The count of goals met and missed, as the last line.
  void printSummary() const;

 private:
  int met_ = 0;
  int missed_ = 0;
  int notMeasured_ = 0;
};

// printf's formatting into a string.
std::string format(const char* pattern, ...);

}  // namespace slidewell::bench
