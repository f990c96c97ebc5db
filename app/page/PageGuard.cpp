#include "app/page/PageGuard.h"

#include <QLoggingCategory>

namespace orvalen {
namespace {

Q_LOGGING_CATEGORY(lcGuard, "orvalen.links")

// A text drag carries text/plain only: with text/uri-list the engine would
// send its own canonical form of the address, and the text would go.
constexpr const char* kScript = R"(
(function () {
  function linkOf(node) {
    var element = node && node.nodeType === 1 ? node : node && node.parentElement;
    return element ? element.closest('a') : null;
  }
  document.addEventListener('dragstart', function (e) {
    var selection = getSelection(), text = null;
    if (!selection.isCollapsed && selection.containsNode(e.target, true)) {
      text = String(selection);
    } else {
      var link = linkOf(e.target);
      if (link && link.draggable) text = link.getAttribute('href');
    }
    if (!text) {
      e.preventDefault();
      return;
    }
    e.dataTransfer.items.clear();
    e.dataTransfer.setData('text/plain', text);
  }, true);
  // The engine counts the clicks of a multiple click whatever their
  // buttons: a later click counts only with the button of the one before.
  var lastButton = -1;
  function onClick(e) {
    var again = e.detail > 1 && e.button === lastButton;
    lastButton = e.button;
    if (linkOf(e.target) && (again || e.altKey || e.metaKey)) {
      e.preventDefault();
      e.stopImmediatePropagation();
    }
  }
  document.addEventListener('click', onClick, true);
  document.addEventListener('auxclick', onClick, true);
})();
)";

}  // namespace

QWebEngineScript PageGuardScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("orvalen-page-guard"));
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setRunsOnSubFrames(true);
  script.setSourceCode(QString::fromLatin1(kScript));
  return script;
}

// The program's own pages (data:, about:blank) come from no network; over
// the web, pictures only.
void PageRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl& url = info.requestUrl();
  const QString scheme = url.scheme();
  if (scheme == QLatin1String("data") || scheme == QLatin1String("about")) return;
  const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
  if (web && info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeImage) return;
  info.block(true);
  qCInfo(lcGuard, "request refused: %s", qPrintable(url.toString().left(200)));
  emit Refused(url);
}

}  // namespace orvalen
