#include "app/LinkDecision.h"

namespace orvalen {
namespace {

// Addresses this long are never one of the page's own short links.
constexpr std::size_t kLongAddress = 100;

// The view reports addresses in canonical form (host lower-cased, non-ASCII
// as punycode, unsafe bytes escaped); a page value matches when its own
// canonical form is the same.
QString Canonical(const std::string& address) {
  return QUrl(QString::fromStdString(address)).toString(QUrl::FullyEncoded);
}

// The first row shown on the page whose `field`, written as `link` writes it,
// is the address the view reported.
template <class Link>
const Info* FindRow(const PInfo& rows, std::string Info::*field, Link link,
                    const QString& reported) {
  for (std::size_t i = 0; i < kCardsPerPage && i < rows.size() && !rows[i].title.empty(); ++i) {
    const std::string& value = rows[i].*field;
    if (!value.empty() && Canonical(link(value)) == reported) return &rows[i];
  }
  return nullptr;
}

}  // namespace

LinkDecision DecideLink(const QUrl& url, const PInfo& rows) {
  const QString reported = url.toString(QUrl::FullyEncoded);
  const std::string s = reported.toStdString();
  if (s == "about:blank") return {LinkAction::LoadInView, {}};
  const auto as_is = [](const std::string& address) { return address; };
  if (const Info* item = FindRow(rows, &Info::click_url, as_is, reported)) {
    return {LinkAction::OpenItem, item->click_url};
  }
  if (s == kBackLink) return {LinkAction::Back, {}};
  if (s == kNextLink) return {LinkAction::Next, {}};
  if (s.size() >= kLongAddress) return {LinkAction::Drop, {}};
  if (const Info* seller = FindRow(rows, &Info::nick, SellerLink, reported)) {
    return {LinkAction::Seller, seller->nick};
  }
  // A short address that is not on the page but has the shape of a seller's
  // link is read as one.
  if (std::optional<std::string> nick = SellerOfLink(s)) return {LinkAction::Seller, *nick};
  return {LinkAction::Drop, {}};
}

}  // namespace orvalen
