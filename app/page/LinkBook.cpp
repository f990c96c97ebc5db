#include "app/page/LinkBook.h"

#include <algorithm>

namespace orvalen {

void LinkBook::Written(int number, LinkTable links) {
  written_.emplace_back(number, std::move(links));
  // Pages replaced before the engine confirmed them are never confirmed.
  constexpr std::size_t kKept = 8;
  if (written_.size() > kKept) written_.pop_front();
}

void LinkBook::Shown(int number, const QStringList& hrefs) {
  const auto it = std::find_if(written_.begin(), written_.end(),
                               [number](const auto& page) { return page.first == number; });
  if (it == written_.end()) return;
  shown_ = std::move(it->second);
  for (qsizetype i = 0; i < hrefs.size() && i < static_cast<qsizetype>(shown_.size()); ++i) {
    shown_[i].Resolved(hrefs[i]);
  }
  written_.erase(written_.begin(), it + 1);
}

void LinkBook::Lost() {
  shown_.clear();
  written_.clear();
}

LinkDecision LinkBook::Decide(const QUrl& url) const {
  return DecideLink(url, {&shown_, written_.empty() ? nullptr : &written_.back().second});
}

QStringList LinkBook::Addresses(int number) const {
  QStringList addresses;
  for (const auto& [n, links] : written_) {
    if (n != number) continue;
    for (const PageLink& link : links) addresses << QString::fromStdString(link.written());
  }
  return addresses;
}

}  // namespace orvalen
