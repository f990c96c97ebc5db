// PageWriter against a real web view, offscreen: pages after the first are
// written in place (no navigation), their text arrives exactly as built,
// their links still reach the page's navigation handler, and Shown()
// reports the page written last.
#include "app/page/PageWriter.h"

#include <signal.h>

#include "app/page/InterceptingPage.h"
#include "app/page/core/ResultsPage.h"
#include "support/GuiTest.h"

using namespace orvalen;

namespace {

// A web view with its page and a writer, and what the writer reports.
struct View {
  View()
      : page(Attach(new InterceptingPage(&view,
                                         [this](const QUrl& url) {
                                           asked.push_back(url.toString());
                                           return false;
                                         }))),
        writer(&view, page),
        shown(&writer, &PageWriter::Shown),
        loads(&view, &QWebEngineView::loadStarted) {
    view.resize(700, 595);
    view.show();
  }
  // The view's page before the writer is made, as the window does it.
  InterceptingPage* Attach(InterceptingPage* p) {
    view.setPage(p);
    return p;
  }
  QString Title() { return Text(QStringLiteral(".mydiv [role=heading] a")); }
  QVariant Evaluate(const QString& script) { return test::Evaluate(page, script); }
  QString Text(const QString& selector) {
    return Evaluate(QStringLiteral("document.querySelector('%1').textContent").arg(selector))
        .toString();
  }

  QWebEngineView view;
  InterceptingPage* page;
  QStringList asked;  // addresses put to the navigation handler
  PageWriter writer;
  QSignalSpy shown;
  QSignalSpy loads;
};

PInfo Rows(const std::string& title) {
  return {{"", "1.00", title, "http://click/" + title.substr(0, 1), "nick", "here", "", ""}};
}

}  // namespace

class PageWriterTest : public QObject {
  Q_OBJECT

 private slots:
  void laterPagesAreWrittenInPlaceWithTheirTextIntact() {
    View v;
    v.writer.Write(BuildResultsPage(Rows("first")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    QCOMPARE(v.loads.count(), 1);
    // A mark that lives as long as the document does.
    v.Evaluate(QStringLiteral("document.body.dataset.mark = 'same document'"));

    // Quotes, backslashes, script-string breakers and markup-like text.
    const std::string awkward = "a\"b'c\\d</div><script>x()</script>\u2028%1 $& 价格";
    v.writer.Write(BuildResultsPage(Rows(awkward)));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.loads.count(), 1);  // no navigation
    QCOMPARE(v.Title(), QString::fromStdString(awkward));
    QCOMPARE(v.Evaluate(QStringLiteral("document.getElementsByTagName('script').length")).toInt(),
             0);
    QCOMPARE(v.Evaluate(QStringLiteral("document.querySelectorAll('.mydiv').length")).toInt(), 1);

    // A link of the written page goes to the handler like any other.
    v.Evaluate(QStringLiteral("document.querySelector('a[href=\"http://next/\"]').click()"));
    QTRY_VERIFY(v.asked.contains(QStringLiteral("http://next/")));

    // The empty page empties the same document.
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 3, 15000);
    QCOMPARE(v.Evaluate(QStringLiteral("document.querySelector('body > div').innerHTML")),
             QVariant(QString()));
    QCOMPARE(v.Evaluate(QStringLiteral("document.body.dataset.mark")),
             QVariant(QStringLiteral("same document")));
  }

  void pagesWrittenWhileTheFirstLoadsWaitAndOnlyTheLastIsReported() {
    View v;
    v.writer.Write(EmptyPage());
    v.writer.Write(BuildResultsPage(Rows("second")));
    v.writer.Write(BuildResultsPage(Rows("third")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    QCOMPARE(v.Title(), QStringLiteral("third"));
    // Anything still to come for the pages replaced would come before the
    // next page is shown.
    v.writer.Write(BuildResultsPage(Rows("fourth")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.Title(), QStringLiteral("fourth"));
    QCOMPARE(v.shown.count(), 2);
  }

  // A page of the program's that fails to load (past the engine's 2 MB
  // for a loaded page) holds back no page written after it; a results page
  // of that size is written into a loaded empty page instead.
  void aPageThatFailsToLoadHoldsBackNoLaterPage() {
    View v;
    v.writer.Write("<p>" + std::string(3 * 1024 * 1024, 'x') + "</p>");
    v.writer.Write(BuildResultsPage(Rows("after")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    QCOMPARE(v.Title(), QStringLiteral("after"));
    const std::string large(3 * 1024 * 1024, 'y');
    v.writer.Write(BuildResultsPage(Rows(large)));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.Evaluate(QStringLiteral("document.querySelector('.mydiv a[title]').title.length"))
                 .toInt(),
             int(large.size()));
  }

  // The render process ends (killed, as the out-of-memory killer does): the
  // page written last comes back in a new one, and later pages are shown.
  void theLastPageComesBackWhenTheRenderProcessEnds() {
    View v;
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    v.writer.Write(BuildResultsPage(Rows("kept")), LinksOfPage(Rows("kept")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QTRY_COMPARE(v.writer.Decide(QUrl(QStringLiteral("http://click/k"))).action,
                 LinkAction::OpenItem);

    const qint64 pid = v.page->renderProcessPid();
    QVERIFY(pid > 0);
    QSignalSpy ended(v.page, &QWebEnginePage::renderProcessTerminated);
    QVERIFY(::kill(static_cast<pid_t>(pid), SIGKILL) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 3, 15000);
    QVERIFY(v.page->renderProcessPid() != pid);
    QCOMPARE(v.Title(), QStringLiteral("kept"));
    QTRY_COMPARE(v.writer.Decide(QUrl(QStringLiteral("http://click/k"))).action,
                 LinkAction::OpenItem);

    v.writer.Write(BuildResultsPage(Rows("later")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 4, 15000);
    QCOMPARE(v.Title(), QStringLiteral("later"));
  }

  // The in-place write finds the document is not one of the program's any
  // more (its box is gone): the whole page is loaded instead, its links
  // decided on it.
  void aDocumentThatIsNotTheProgramsGetsTheWholePage() {
    View v;
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    v.Evaluate(QStringLiteral("document.querySelector('body > div').remove(); 0"));
    v.writer.Write(BuildResultsPage(Rows("whole")), LinksOfPage(Rows("whole")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.loads.count(), 2);
    QCOMPARE(v.Title(), QStringLiteral("whole"));
    QTRY_COMPARE(v.writer.Decide(QUrl(QStringLiteral("http://click/w"))).action,
                 LinkAction::OpenItem);
  }

  void blankStartsOverWithALoadedDocument() {
    View v;
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    v.writer.Blank();
    QTRY_COMPARE(v.view.url().toString(), QStringLiteral("about:blank"));
    v.writer.Write(BuildResultsPage(Rows("again")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.loads.count(), 3);  // page, about:blank, page
    QCOMPARE(v.Title(), QStringLiteral("again"));

    // Something else took the document's place (a navigation the page
    // allowed): the next page is loaded whole again.
    QSignalSpy finished(&v.view, &QWebEngineView::loadFinished);
    v.view.setUrl(QUrl(QStringLiteral("about:blank")));
    QTRY_COMPARE(finished.count(), 1);
    v.writer.Write(BuildResultsPage(Rows("whole")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 3, 15000);
    QCOMPARE(v.Title(), QStringLiteral("whole"));
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<PageWriterTest>(argc, argv);
}

#include "PageWriterTest.moc"
