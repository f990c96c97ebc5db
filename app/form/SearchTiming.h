// SearchTiming: where a search's time goes, logged under the category
// orvalen.timing (off unless enabled, e.g.
// QT_LOGGING_RULES="orvalen.timing=true"):
//
//   window painted in N ms                   the window's first paint, from the process's start
//   search data back in N ms                 the worker's outcome reached the window
//   search page handed to the view in N ms   the results page went to the web view
//   search shown in N ms                     the page is laid out, its pictures painted
//
// counted from the search's start; for the first search the lines begin
// with "first results" and count from the process's start.
#pragma once

#include <chrono>

namespace orvalen {

class SearchTiming {
 public:
  using Clock = std::chrono::steady_clock;
  explicit SearchTiming(Clock::time_point process_started) : process_started_(process_started) {}

  void WindowPainted();  // logs the first time only
  void Started();
  void DataBack();
  void PageHanded();
  // True when a results page was waiting to be shown (it is logged);
  // false for any other page.
  bool Shown();

 private:
  void Log(const char* stage) const;

  Clock::time_point process_started_, search_started_;
  bool first_ = true;
  bool painted_ = false;
  bool waiting_ = false;
};

}  // namespace orvalen
