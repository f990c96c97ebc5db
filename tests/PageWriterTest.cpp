// PageWriter against a real web view, offscreen: pages after the first are
// written in place (no navigation), their text arrives exactly as built,
// their links still reach the page's navigation handler, and Shown()
// reports the page written last.
#include "app/page/PageWriter.h"

#include <signal.h>

#include "app/page/InterceptingPage.h"
#include "app/page/core/ResultsPage.h"
#include "support/EngineForms.h"
#include "support/GuiTest.h"

using namespace orvalen;
using namespace Qt::StringLiterals;

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
    // The page each notice finds, read without a nested event loop.
    QObject::connect(&writer, &PageWriter::Shown, &view, [this] {
      page->runJavaScript(kTitleScript, QWebEngineScript::ApplicationWorld,
                          [this](const QVariant& title) { titles << title.toString(); });
    });
  }
  // The view's page before the writer is made, as the window does it.
  InterceptingPage* Attach(InterceptingPage* p) {
    view.setPage(p);
    return p;
  }
  QVariant Evaluate(const QString& script) { return test::Evaluate(page, script); }
  static inline const QString kTitleScript =
      u"(function(){var a=document.querySelector('.mydiv [role=heading] a');"
      "return a ? a.textContent : '';})()"_s;
  QString Title() { return Evaluate(kTitleScript).toString(); }

  QWebEngineView view;
  InterceptingPage* page;
  QStringList asked;  // addresses put to the navigation handler
  PageWriter writer;
  QSignalSpy shown;
  QSignalSpy loads;
  QStringList titles;  // the first item's title at each Shown()
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
    v.Evaluate(u"document.body.dataset.mark = 'same document'"_s);

    // Quotes, backslashes, script-string breakers and markup-like text.
    const std::string awkward = "a\"b'c\\d</div><script>x()</script>\u2028%1 $& 价格";
    v.writer.Write(BuildResultsPage(Rows(awkward)));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.loads.count(), 1);  // no navigation
    QCOMPARE(v.Title(), QString::fromStdString(awkward));
    QCOMPARE(v.Evaluate(u"document.getElementsByTagName('script').length"_s).toInt(), 0);
    QCOMPARE(v.Evaluate(u"document.querySelectorAll('.mydiv').length"_s).toInt(), 1);

    // A link of the written page goes to the handler like any other.
    v.Evaluate(u"document.querySelector('a[href=\"http://next/\"]').click()"_s);
    QTRY_VERIFY(v.asked.contains(u"http://next/"_s));

    // The empty page empties the same document.
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 3, 15000);
    QCOMPARE(v.Evaluate(u"document.querySelector('body > div').innerHTML"_s), QVariant(QString()));
    QCOMPARE(v.Evaluate(u"document.body.dataset.mark"_s), QVariant(u"same document"_s));
  }

  void pagesWrittenWhileTheFirstLoadsWaitAndOnlyTheLastIsReported() {
    View v;
    v.writer.Write(EmptyPage());
    v.writer.Write(BuildResultsPage(Rows("second")));
    v.writer.Write(BuildResultsPage(Rows("third")));
    QTRY_COMPARE_WITH_TIMEOUT(v.titles, QStringList{u"third"_s}, 15000);
    v.writer.Write(BuildResultsPage(Rows("fourth")));
    QTRY_COMPARE_WITH_TIMEOUT(v.titles.size(), 2, 15000);
    // Anything still to come for the pages replaced would come before the
    // next page's notice: once it has come, each page was reported once.
    v.writer.Write(BuildResultsPage(Rows("fifth")));
    QTRY_COMPARE_WITH_TIMEOUT(v.titles.size(), 3, 15000);
    QCOMPARE(v.titles, (QStringList{u"third"_s, u"fourth"_s, u"fifth"_s}));
    QCOMPARE(v.shown.count(), 3);
  }

  // A page of the program's that fails to load (past the engine's 2 MB
  // for a loaded page) holds back no page written after it; a results page
  // of that size is written into a loaded empty page instead.
  void aPageThatFailsToLoadHoldsBackNoLaterPage() {
    View v;
    v.writer.Write("<p>" + std::string(3 * 1024 * 1024, 'x') + "</p>");
    v.writer.Write(BuildResultsPage(Rows("after")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    QCOMPARE(v.Title(), u"after"_s);
    const std::string large(3 * 1024 * 1024, 'y');
    v.writer.Write(BuildResultsPage(Rows(large)));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.Evaluate(u"document.querySelector('.mydiv a[title]').title.length"_s).toInt(),
             int(large.size()));
  }

  // The render process ends (killed, as the out-of-memory killer does): the
  // page written last comes back in a new one, whether or not it had been
  // shown, with its links.
  void theLastPageComesBackWhenTheRenderProcessEnds() {
    View v;
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    v.writer.Write(BuildResultsPage(Rows("kept")), LinksOfPage(Rows("kept")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QTRY_COMPARE(v.writer.Decide(QUrl(u"http://click/k"_s)).action, LinkAction::OpenItem);

    const qint64 pid = v.page->renderProcessPid();
    QVERIFY(pid > 0);
    QSignalSpy ended(v.page, &QWebEnginePage::renderProcessTerminated);
    QVERIFY(::kill(static_cast<pid_t>(pid), SIGKILL) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 3, 15000);
    QVERIFY(v.page->renderProcessPid() != pid);
    QCOMPARE(v.Title(), u"kept"_s);
    QTRY_COMPARE(v.writer.Decide(QUrl(u"http://click/k"_s)).action, LinkAction::OpenItem);

    // Killed again before the next page is shown (no event is handled in
    // between): that page is the one written again.
    v.writer.Write(BuildResultsPage(Rows("later")));
    QVERIFY(::kill(static_cast<pid_t>(v.page->renderProcessPid()), SIGKILL) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 4, 15000);
    QCOMPARE(v.Title(), u"later"_s);
  }

  // The in-place write finds the document is not one of the program's any
  // more (its box is gone): the whole page is loaded instead, its links
  // decided on it.
  void aDocumentThatIsNotTheProgramsGetsTheWholePage() {
    View v;
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    v.Evaluate(u"document.querySelector('body > div').remove(); 0"_s);
    v.writer.Write(BuildResultsPage(Rows("whole")), LinksOfPage(Rows("whole")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.loads.count(), 2);
    QCOMPARE(v.Title(), u"whole"_s);
    QTRY_COMPARE(v.writer.Decide(QUrl(u"http://click/w"_s)).action, LinkAction::OpenItem);
  }

  // The engine's forms that LinkDecisionTest decides on are this engine's:
  // each written click URL and a rewritten seller's link, as anchors of a
  // written page resolve them.
  void theDecisionTablesEngineFormsAreTheEngines() {
    View v;
    PInfo rows;
    for (const test::EngineForm& form : test::kEngineForms) {
      rows.push_back({"", "1.00", form.name, form.written, test::kRewrittenNick, "", "", ""});
    }
    v.writer.Write(BuildResultsPage(rows), LinksOfPage(rows));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    const QStringList titles =
        v.Evaluate(
             u"Array.prototype.map.call(document.querySelectorAll("
             "'.mydiv [role=heading] a'), function (a) { return a.href; })"_s)
            .toStringList();
    QCOMPARE(titles.size(), int(std::size(test::kEngineForms)));
    for (int i = 0; i < titles.size(); ++i) QCOMPARE(titles[i], test::kEngineForms[i].engine);
    QCOMPARE(v.Evaluate(u"document.querySelector('.mydiv > a:not([title])').href"_s).toString(),
             test::kRewrittenSellerLink);
  }

  void blankStartsOverWithALoadedDocument() {
    View v;
    v.writer.Write(EmptyPage());
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 1, 15000);
    v.writer.Blank();
    QTRY_COMPARE(v.view.url().toString(), u"about:blank"_s);
    v.writer.Write(BuildResultsPage(Rows("again")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 2, 15000);
    QCOMPARE(v.loads.count(), 3);  // page, about:blank, page
    QCOMPARE(v.Title(), u"again"_s);

    // Something else took the document's place (a navigation the page
    // allowed): the next page is loaded whole again.
    QSignalSpy finished(&v.view, &QWebEngineView::loadFinished);
    v.view.setUrl(QUrl(u"about:blank"_s));
    QTRY_COMPARE(finished.count(), 1);
    v.writer.Write(BuildResultsPage(Rows("whole")));
    QTRY_COMPARE_WITH_TIMEOUT(v.shown.count(), 3, 15000);
    QCOMPARE(v.Title(), u"whole"_s);
  }
};

int main(int argc, char** argv) {
  return orvalen::test::RunGuiTest<PageWriterTest>(argc, argv);
}

#include "PageWriterTest.moc"
