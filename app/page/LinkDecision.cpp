#include "app/page/LinkDecision.h"

namespace orvalen {
namespace {

// Addresses this long are never one of the page's own short links.
constexpr std::size_t kLongAddress = 100;

QString Canonical(const QString& address) {
  return QUrl(address).toString(QUrl::FullyEncoded);
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
  // Items first, then the paging links, then sellers: an address on the
  // page means the first of these it is.
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

std::optional<LinkDecision> MatchLink(const QUrl& url, const LinkTable& links) {
  const QString reported = url.toString(QUrl::FullyEncoded);
  for (const PageLink& link : links) {
    if (link.key() == reported) return link.decision();
  }
  return std::nullopt;
}

LinkDecision DecideUnlisted(const QUrl& url) {
  const std::string s = url.toString(QUrl::FullyEncoded).toStdString();
  if (s == "about:blank") return {LinkAction::LoadInView, {}};
  if (s == kBackLink) return {LinkAction::Back, {}};
  if (s == kNextLink) return {LinkAction::Next, {}};
  if (s.size() >= kLongAddress) return {LinkAction::Drop, {}};
  // A short address with the shape of a seller's link is read as one.
  if (std::optional<std::string> nick = SellerOfLink(s)) return {LinkAction::Seller, *nick};
  return {LinkAction::Drop, {}};
}

LinkDecision DecideLink(const QUrl& url, const LinkTable& links) {
  if (url.toString() == QLatin1String("about:blank")) return {LinkAction::LoadInView, {}};
  if (std::optional<LinkDecision> link = MatchLink(url, links)) return *link;
  return DecideUnlisted(url);
}

}  // namespace orvalen
