// PageWriter: puts the program's pages into the results view.
//
//   PageWriter writer(view, page);
//   connect(&writer, &PageWriter::Shown, ...);
//   writer.Write(BuildResultsPage(rows));
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
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

class QWebEngineView;

namespace orvalen {

class InterceptingPage;

class PageWriter : public QObject {
  Q_OBJECT
 public:
  // A child of `page`.
  PageWriter(QWebEngineView* view, InterceptingPage* page);

  // `html` is a whole page from ResultsPage: head, content, tail.
  void Write(const std::string& html);
  // about:blank; the next page is loaded as a document again.
  void Blank();

 signals:
  void Shown();

 private:
  enum class State {
    kNone,          // no document of the program's in the view
    kLoadingOwn,    // one of its documents is loading
    kReady,         // one of its documents has loaded
    kLoadingOther,  // about:blank is loading
  };
  void LoadFinished(bool ok);
  void Load(const std::string& html);
  void Replace(const std::string& html);
  // After an in-place write of page `number`: when the document turned out
  // not to be the program's (`written` false), loads the whole page.
  void Rewrite(const std::string& html, int number, bool written);
  // Runs the script that reports, through the page title, when the
  // pictures in view of page `number_` are painted.
  void WatchPictures();

  QWebEngineView* view_;
  InterceptingPage* page_;
  State state_ = State::kNone;
  int number_ = 0;                      // of the page written last
  std::optional<std::string> waiting_;  // written while a load was under way
};

}  // namespace orvalen
