#include "app/page/PageWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <utility>

#include "app/page/InterceptingPage.h"
#include "app/page/core/ResultsPage.h"

namespace orvalen {
namespace {

// What the document is called once it is shown.
const QString kDocumentTitle = QStringLiteral("搜索结果");

// The marker the watching script puts in the page title.
QString ShownTitle(int number) {
  return QStringLiteral("orvalen-shown-%1").arg(number);
}

// `text` as a JavaScript string literal (JSON is one).
QString ScriptString(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// A script expression: the engine's form of each address as a link of the
// document in view would have it (resolved against the document, in its
// encoding), in order.
QString ResolveExpression(const QStringList& addresses) {
  const QByteArray list =
      QJsonDocument(QJsonArray::fromStringList(addresses)).toJson(QJsonDocument::Compact);
  return QStringLiteral(
             "(function (list) {"
             "  var a = document.createElement('a');"
             "  return list.map(function (w) { a.setAttribute('href', w); return a.href; });"
             "})(%1)")
      .arg(QString::fromUtf8(list));
}

bool IsList(const QVariant& value) {
  return value.metaType().id() == QMetaType::QVariantList;
}

// A render process that ends again and again (a page that kills it) is
// given up on after this many tries in a row.
constexpr int kMaxRecoveries = 3;

// Waits until every picture in view is loaded and decoded, then for two
// frames (the second begins once the first, with the pictures, has been
// drawn), then sets the title to `title`. A picture that fails counts as
// done: its box is drawn empty.
QString WatchScript(const QString& title) {
  return QStringLiteral(
             "(function () {"
             "  var box = document.querySelector('body > div');"
             "  var pictures = box ? Array.prototype.slice.call(box.getElementsByTagName('img')) "
             "                     : [];"
             "  pictures = pictures.filter(function (p) {"
             "    var r = p.getBoundingClientRect();"
             "    return r.bottom > 0 && r.top < innerHeight && r.right > 0 && r.left < innerWidth;"
             "  });"
             "  Promise.all(pictures.map(function (p) {"
             "    return p.decode().catch(function () {});"
             "  })).then(function () {"
             "    requestAnimationFrame(function () { requestAnimationFrame(function () {"
             "      document.title = %1;"
             "    }); });"
             "  });"
             "})();")
      .arg(ScriptString(title));
}

}  // namespace

PageWriter::PageWriter(QWebEngineView* view, InterceptingPage* page)
    : QObject(page), view_(view), page_(page) {
  connect(view_, &QWebEngineView::loadFinished, this, &PageWriter::LoadFinished);
  connect(page_, &QWebEnginePage::loadingChanged, this, &PageWriter::LoadingChanged);
  // Queued: a new page is not loaded from inside the engine's notice.
  connect(page_, &QWebEnginePage::renderProcessTerminated, this, &PageWriter::RenderProcessEnded,
          Qt::QueuedConnection);
  connect(view_, &QWebEngineView::titleChanged, this, [this](const QString& title) {
    if (title != ShownTitle(number_)) return;
    // The marker has served: the document's name, which a screen reader
    // announces, is the page's own again.
    page_->runJavaScript(QStringLiteral("document.title = %1;").arg(ScriptString(kDocumentTitle)),
                         QWebEngineScript::ApplicationWorld);
    emit Shown();
  });
}

void PageWriter::LoadFinished(bool ok) {
  // A load cut short by the next one, or a navigation the page refused,
  // ends with !ok and changes nothing.
  if (!ok) return;
  switch (state_) {
    case State::kLoadingOwn:
      state_ = State::kReady;
      recoveries_ = 0;
      Resolve();
      if (waiting_) {
        WritePage(*std::exchange(waiting_, std::nullopt));
      } else {
        WatchPictures();
      }
      return;
    case State::kLoadingOther:
    case State::kReady:  // something else has taken the document's place
      links_.Lost();
      [[fallthrough]];
    case State::kNone:
      state_ = State::kNone;
      if (waiting_) WritePage(*std::exchange(waiting_, std::nullopt));
      return;
  }
}

// One of the program's own pages that fails to load (too large for the
// engine, a render process gone meanwhile) must not hold back the pages
// written after it. Its failure names the data: address, or none at all
// when the engine refused the address itself; a navigation the page
// refused meanwhile names its own.
void PageWriter::LoadingChanged(const QWebEngineLoadingInfo& info) {
  const QUrl& url = info.url();
  if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || state_ != State::kLoadingOwn ||
      !(url.isEmpty() || url.scheme() == QLatin1String("data"))) {
    return;
  }
  state_ = State::kNone;
  if (waiting_) WritePage(*std::exchange(waiting_, std::nullopt));
}

// The document went with its render process; the next load starts a new
// one. The page that was waiting, or else the one written last, comes back.
void PageWriter::RenderProcessEnded() {
  links_.Lost();
  state_ = State::kNone;
  if (++recoveries_ > kMaxRecoveries) return;
  std::optional<Page> page = waiting_ ? std::exchange(waiting_, std::nullopt) : last_;
  if (page) WritePage(std::move(*page));
}

void PageWriter::Write(const std::string& html, LinkTable links) {
  WritePage(Page{html, std::move(links)});
}

void PageWriter::WritePage(Page page) {
  const std::string& html = page.html;
  last_ = page;
  if (state_ == State::kLoadingOwn || state_ == State::kLoadingOther) {
    waiting_ = std::move(page);  // written once the load under way has finished
    return;
  }
  const bool is_page = html.starts_with(kPageHead) && html.ends_with(kPageTail) &&
                       html.size() >= kPageHead.size() + kPageTail.size();
  if (state_ == State::kReady && is_page) {
    Replace(std::move(page));
  } else if (is_page && html.size() > kPageHead.size() + kPageTail.size()) {
    // The empty page is loaded, and this one written into it: a loaded
    // page travels as a data: address, which the engine bounds at 2 MB.
    Load(Page{std::string(EmptyPage()), {}});
    waiting_ = std::move(page);
  } else {
    Load(std::move(page));
  }
}

void PageWriter::Blank() {
  ++number_;
  waiting_.reset();
  last_.reset();
  links_.Lost();
  state_ = State::kLoadingOther;
  view_->setUrl(QUrl(QStringLiteral("about:blank")));
}

void PageWriter::Load(Page page) {
  const QString html = QString::fromStdString(page.html);
  ++number_;
  links_.Written(number_, std::move(page.links));
  page_->ExpectOwnPage(html);
  state_ = State::kLoadingOwn;
  view_->setHtml(html);
}

// The content between the page's fixed head and tail replaces that of the
// document, and the same script answers with the engine's forms of the new
// links; should the document not be the program's after all, the whole
// page is loaded instead.
void PageWriter::Replace(Page page) {
  const std::string& html = page.html;
  const QString content = QString::fromStdString(
      html.substr(kPageHead.size(), html.size() - kPageHead.size() - kPageTail.size()));
  const int number = ++number_;
  links_.Written(number, page.links);
  const QString script =
      QStringLiteral(
          "(function () {"
          "  var box = document.querySelector('body > div');"
          "  if (!box) return false;"
          "  box.innerHTML = %1;"
          "  window.scrollTo(0, 0);"
          "  return %2;"
          "})();")
          .arg(ScriptString(content), ResolveExpression(links_.Addresses(number)));
  page_->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                       [self = QPointer(this), page = std::move(page), number](const QVariant& v) {
                         // No result at all: the page went away first.
                         if (!self || !v.isValid()) return;
                         self->Rewrite(page, number, v);
                       });
  WatchPictures();
}

bool PageWriter::Confirm(int number, const QVariant& hrefs) {
  if (!IsList(hrefs)) return false;
  links_.Shown(number, hrefs.toStringList());
  return true;
}

void PageWriter::Rewrite(const Page& page, int number, const QVariant& hrefs) {
  if (Confirm(number, hrefs) || number != number_) return;
  state_ = State::kNone;
  WritePage(page);
}

void PageWriter::Resolve() {
  const int number = number_;
  page_->runJavaScript(ResolveExpression(links_.Addresses(number)),
                       QWebEngineScript::ApplicationWorld,
                       [self = QPointer(this), number](const QVariant& hrefs) {
                         if (self) self->Confirm(number, hrefs);
                       });
}

void PageWriter::WatchPictures() {
  page_->runJavaScript(WatchScript(ShownTitle(number_)), QWebEngineScript::ApplicationWorld);
}

}  // namespace orvalen
