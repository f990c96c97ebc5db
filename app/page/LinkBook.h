// LinkBook: the links of the pages handed to the results view, kept per
// page, so that a click is decided against the page that was clicked.
//
//   book.Written(n, LinksOfPage(rows));  // page n handed to the engine
//   book.Shown(n, hrefs);                // the engine has it, with its form of each link
//   LinkDecision d = book.Decide(url);
//
// The engine does things in order: a click on the old page is reported
// before the engine says it shows the new one. So the page last confirmed
// decides; an address that is none of its links is tried on the newest page
// handed over (the engine may show it a moment before saying so), and only
// then read as an address of no page.
#pragma once

#include <QStringList>
#include <deque>
#include <utility>

#include "app/page/LinkDecision.h"

namespace orvalen {

class LinkBook {
 public:
  void Written(int number, LinkTable links);
  // Page `number` is in view; `hrefs` are the engine's forms of its links,
  // in table order. Pages written before it are gone.
  void Shown(int number, const QStringList& hrefs);
  // The document in view is gone (its render process ended, or the view
  // left the program's pages).
  void Lost();

  LinkDecision Decide(const QUrl& url) const;
  // The written addresses of page `number`, in table order.
  QStringList Addresses(int number) const;

 private:
  LinkTable shown_;
  std::deque<std::pair<int, LinkTable>> written_;  // oldest first
};

}  // namespace orvalen
