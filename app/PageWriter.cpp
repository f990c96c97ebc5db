#include "app/PageWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <utility>

#include "app/InterceptingPage.h"
#include "app/ResultsPage.h"

namespace orvalen {
namespace {

// The marker the watching script puts in the page title.
QString ShownTitle(int number) {
  return QStringLiteral("orvalen-shown-%1").arg(number);
}

// `text` as a JavaScript string literal (JSON is one).
QString ScriptString(const QString& text) {
  const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

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
  connect(view_, &QWebEngineView::titleChanged, this, [this](const QString& title) {
    if (title == ShownTitle(number_)) emit Shown();
  });
}

void PageWriter::LoadFinished(bool ok) {
  // A load cut short by the next one, or a navigation the page refused,
  // ends with !ok and changes nothing.
  if (!ok) return;
  switch (state_) {
    case State::kLoadingOwn:
      state_ = State::kReady;
      if (waiting_) {
        Write(*std::exchange(waiting_, std::nullopt));
      } else {
        WatchPictures();
      }
      return;
    case State::kLoadingOther:
    case State::kReady:  // something else has taken the document's place
    case State::kNone:
      state_ = State::kNone;
      if (waiting_) Write(*std::exchange(waiting_, std::nullopt));
      return;
  }
}

void PageWriter::Write(const std::string& html) {
  if (state_ == State::kLoadingOwn || state_ == State::kLoadingOther) {
    waiting_ = html;  // written once the load under way has finished
    return;
  }
  const bool is_page = html.starts_with(kPageHead) && html.ends_with(kPageTail) &&
                       html.size() >= kPageHead.size() + kPageTail.size();
  if (state_ == State::kReady && is_page) {
    Replace(html);
  } else {
    Load(html);
  }
}

void PageWriter::Blank() {
  ++number_;
  waiting_.reset();
  state_ = State::kLoadingOther;
  view_->setUrl(QUrl(QStringLiteral("about:blank")));
}

void PageWriter::Load(const std::string& text) {
  const QString html = QString::fromStdString(text);
  ++number_;
  page_->ExpectOwnPage(html);
  state_ = State::kLoadingOwn;
  view_->setHtml(html);
}

// The content between the page's fixed head and tail replaces that of the
// document; should the document not be the program's after all, the whole
// page is loaded instead.
void PageWriter::Replace(const std::string& html) {
  const QString content = QString::fromStdString(
      html.substr(kPageHead.size(), html.size() - kPageHead.size() - kPageTail.size()));
  const QString script = QStringLiteral(
                             "(function () {"
                             "  var box = document.querySelector('body > div');"
                             "  if (!box) return false;"
                             "  box.innerHTML = %1;"
                             "  window.scrollTo(0, 0);"
                             "  return true;"
                             "})();")
                             .arg(ScriptString(content));
  const int number = ++number_;
  page_->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                       [self = QPointer(this), html, number](const QVariant& written) {
                         // No result at all: the page went away first.
                         if (!self || !written.isValid()) return;
                         self->Rewrite(html, number, written.toBool());
                       });
  WatchPictures();
}

void PageWriter::Rewrite(const std::string& html, int number, bool written) {
  if (written || number != number_) return;
  state_ = State::kNone;
  Write(html);
}

void PageWriter::WatchPictures() {
  page_->runJavaScript(WatchScript(ShownTitle(number_)), QWebEngineScript::ApplicationWorld);
}

}  // namespace orvalen
