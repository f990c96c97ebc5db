#include "app/page/LinkDecision.h"

#include <optional>

namespace orvalen {
namespace {

// Addresses this long are never one of the page's own short links.
constexpr std::size_t kLongAddress = 100;

QString Canonical(const QString& address) {
  return QUrl(address).toString(QUrl::FullyEncoded);
}

std::optional<LinkDecision> MatchLink(const QString& reported, const LinkTable& links) {
  for (const PageLink& link : links) {
    if (link.key() == reported) return link.decision();
  }
  return std::nullopt;
}

// An address that is no link of the pages: the paging addresses and a
// seller's shape still mean what they would on any results page.
LinkDecision DecideUnlisted(const std::string& s) {
  if (s == kBackLink) return {LinkAction::Back, {}};
  if (s == kNextLink) return {LinkAction::Next, {}};
  if (s.size() >= kLongAddress) return {LinkAction::Drop, {}};
  if (std::optional<std::string> nick = SellerOfLink(s)) return {LinkAction::Seller, *nick};
  return {LinkAction::Drop, {}};
}

}  // namespace

PageLink::PageLink(LinkDecision decision, std::string written)
    : decision_(std::move(decision)),
      written_(std::move(written)),
      key_(Canonical(QString::fromStdString(written_))) {}

void PageLink::Resolved(const QString& href) {
  if (!href.isEmpty()) key_ = Canonical(href);
}

LinkTable LinksOfPage(const PInfo& rows) {
  std::size_t shown = 0;
  while (shown < rows.size() && shown < kCardsPerPage && !rows[shown].title.empty()) ++shown;
  LinkTable links;
  for (std::size_t i = 0; i < shown; ++i) {
    const std::string& click = rows[i].click_url;
    if (!click.empty()) links.emplace_back(LinkDecision{LinkAction::OpenItem, click}, click);
  }
  links.emplace_back(LinkDecision{LinkAction::Back, {}}, std::string(kBackLink));
  links.emplace_back(LinkDecision{LinkAction::Next, {}}, std::string(kNextLink));
  for (std::size_t i = 0; i < shown; ++i) {
    links.emplace_back(LinkDecision{LinkAction::Seller, rows[i].nick}, SellerLink(rows[i].nick));
  }
  return links;
}

bool IsBlankPage(const QUrl& url) {
  return url.toString() == QLatin1String("about:blank");
}

LinkDecision DecideLink(const QUrl& url, std::initializer_list<const LinkTable*> pages) {
  if (IsBlankPage(url)) return {LinkAction::LoadInView, {}};
  const QString reported = url.toString(QUrl::FullyEncoded);
  for (const LinkTable* links : pages) {
    if (links == nullptr) continue;
    if (std::optional<LinkDecision> link = MatchLink(reported, *links)) return *link;
  }
  return DecideUnlisted(reported.toStdString());
}

}  // namespace orvalen
