// PageGuard: what keeps the results page's own behaviour in hand beyond its
// navigations, installed on the view's page:
//
//   page->scripts().insert(PageGuardScript());        // every document, from its start
//   page->setUrlRequestInterceptor(new PageRequestGuard(page));
//
// The script runs in an isolated world (the page's own script stays off)
// and decides what a drag out of the page carries: a selection its plain
// text, a draggable link (an item's, see ResultsPage) exactly the address
// written in the page, as plain text only; anything else is not dragged.
// It also drops the second and later clicks of a multiple click on a link,
// so that a double click opens a link once and its second click never lands
// on a page the first one brought.
//
// The request guard lets the engine fetch pictures over the web and nothing
// else: no link, download, prefetch or other request of the page's leaves.
// The program's own pages (data:, about:blank) pass; the navigation handler
// has decided them already.
#pragma once

#include <QWebEngineScript>
#include <QWebEngineUrlRequestInterceptor>

namespace orvalen {

QWebEngineScript PageGuardScript();

class PageRequestGuard : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 signals:
  // A request the engine would have made, refused.
  void Refused(const QUrl& url);
};

}  // namespace orvalen
