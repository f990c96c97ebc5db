// InterceptingPage: the results view's page. Every navigation it starts, in
// the view itself or in a new window or tab (target="_blank", a middle or
// modifier click), is put to one handler first; the view loads only what the
// handler allows, and a new window never loads anything. Its drags, multiple
// clicks and requests are kept in hand too (PageGuard).
//
//   auto* page = new InterceptingPage(view, [](const QUrl& url) { return allow(url); });
//   page->ExpectOwnPage(html);  // before setHtml(html): that page is the program's own
#pragma once

#include <QWebEnginePage>
#include <deque>
#include <functional>

namespace orvalen {

class InterceptingPage : public QWebEnginePage {
  Q_OBJECT
 public:
  // Acts on a navigation; true: the view may load it.
  using Navigate = std::function<bool(const QUrl& url)>;

  InterceptingPage(QObject* parent, Navigate navigate);

  // The page text the program sets arrives as a data: URL; only a data: URL
  // holding a page the program has just set is let through without asking.
  void ExpectOwnPage(const QString& html);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;

 private:
  bool IsOwnPage(const QUrl& url);

  Navigate navigate_;
  std::deque<QByteArray> own_pages_;  // set, not yet seen navigating
};

}  // namespace orvalen
