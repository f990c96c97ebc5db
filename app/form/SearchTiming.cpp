#include "app/form/SearchTiming.h"

#include <QLoggingCategory>

namespace orvalen {
namespace {

Q_LOGGING_CATEGORY(lcTiming, "orvalen.timing", QtWarningMsg)

}  // namespace

void SearchTiming::WindowPainted() {
  if (painted_) return;
  painted_ = true;
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - process_started_);
  qCInfo(lcTiming, "window painted in %lld ms", static_cast<long long>(ms.count()));
}

void SearchTiming::Started() {
  search_started_ = Clock::now();
}

void SearchTiming::DataBack() {
  Log("data back");
}

void SearchTiming::PageHanded() {
  waiting_ = true;
  Log("page handed to the view");
}

bool SearchTiming::Shown() {
  if (!waiting_) return false;
  waiting_ = false;
  Log("shown");
  first_ = false;
  return true;
}

void SearchTiming::Log(const char* stage) const {
  const auto since = first_ ? process_started_ : search_started_;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since);
  qCInfo(lcTiming, "%s %s in %lld ms", first_ ? "first results" : "search", stage,
         static_cast<long long>(ms.count()));
}

}  // namespace orvalen
