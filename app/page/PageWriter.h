// PageWriter: puts the program's pages into the results view.
//
//   PageWriter writer(view, page);
//   connect(&writer, &PageWriter::Shown, ...);
//   writer.Write(BuildResultsPage(rows), LinksOfPage(rows));
//   ... writer.Decide(url) ...   // what a navigation means on the page clicked
//
// The first page is loaded as a document of its own. Once one of the
// program's documents has loaded, a later page only replaces that
// document's content, from a script in an isolated world (the page's own
// script stays off): Chromium is spared a navigation and a new document
// per search. Links on a replaced page go through the page's navigation
// handler exactly like those of a loaded one.
//
// Shown() is emitted when the pictures in view of the page written last are
// loaded and decoded and a frame has been drawn after that; a page written
// before its predecessor is shown replaces it, and only the last one counts.
// A page written while a document loads waits for it.
//
// The view outlives its render process: when that ends (a crash, the
// out-of-memory killer), the page written last is loaded again in a new one,
// and a page whose load fails holds back no later page.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "app/page/LinkBook.h"

class QWebEngineView;
class QWebEngineLoadingInfo;

namespace orvalen {

class InterceptingPage;

class PageWriter : public QObject {
  Q_OBJECT
 public:
  // A child of `page`.
  PageWriter(QWebEngineView* view, InterceptingPage* page);

  // `html` is a whole page from ResultsPage: head, content, tail; `links`
  // the links it holds.
  void Write(const std::string& html, LinkTable links = {});
  // about:blank; the next page is loaded as a document again.
  void Blank();
  // What a navigation to `url` means on the page it came from.
  LinkDecision Decide(const QUrl& url) const { return links_.Decide(url); }

 signals:
  void Shown();

 private:
  enum class State {
    kNone,          // no document of the program's in the view
    kLoadingOwn,    // one of its documents is loading
    kReady,         // one of its documents has loaded
    kLoadingOther,  // about:blank is loading
  };
  struct Page {
    std::string html;
    LinkTable links;
  };
  void WritePage(Page page);
  void LoadFinished(bool ok);
  void LoadingChanged(const QWebEngineLoadingInfo& info);
  void RenderProcessEnded();
  void Load(Page page);
  void Replace(Page page);
  // After an in-place write of page `number`: the engine's forms of its
  // links, or, when the document turned out not to be the program's
  // (`hrefs` not a list), the whole page loaded instead.
  void Rewrite(const Page& page, int number, const QVariant& hrefs);
  // Page `number` is in view when `hrefs`, a script's answer, lists the
  // engine's forms of its links; false when it is no list.
  bool Confirm(int number, const QVariant& hrefs);
  // Asks the engine for its forms of the links of page `number_`.
  void Resolve();
  // Runs the script that reports, through the page title, when the
  // pictures in view of page `number_` are painted.
  void WatchPictures();

  QWebEngineView* view_;
  InterceptingPage* page_;
  State state_ = State::kNone;
  int number_ = 0;               // of the page written last
  std::optional<Page> waiting_;  // written while a load was under way
  std::optional<Page> last_;     // the page written last, to bring back
  int recoveries_ = 0;           // render processes lost since a page last loaded
  LinkBook links_;
};

}  // namespace orvalen
