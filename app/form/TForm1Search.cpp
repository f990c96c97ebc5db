// TForm1: starting a search, the worker, and the two outcomes.
#include <QCoreApplication>
#include <QWebEngineView>

#include "app/form/TForm1.h"
#include "app/form/ThreadHandOff.h"
#include "app/page/InterceptingPage.h"
#include "app/page/PageWriter.h"
#include "app/page/core/ResultsPage.h"
#include "openapi/FailureWords.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

const char* const kSearchingCaption = "正在搜索商品,请稍等......";
const char* const kNotFound = "没有找到相关商品";

}  // namespace

void TForm1::Button1Click() {
  page_no_ = 1;
  StartSearch();
}

void TForm1::StartSearch() {
  if (busy_) return;
  timing_.Started();
  busy_ = true;
  RememberFocus();
  SetCaption(QString::fromUtf8(kSearchingCaption));
  Rows.assign(kRowSlots, Info{});
  NormaliseRanges();
  ShowHtml(EmptyPage());
  JoinWorker();  // its notice has been handled: it has ended or is about to
  job_ = std::make_unique<SearchJob>(
      SearchJob{CopyControls(), item_, users_, services_.site.badge_base, {}, {}});
  search_running_ = true;
  worker_ = std::thread([this, job = job_.get()] {
    bool found = false;
    try {
      found = RunSearch(TaobaokeItem1, TaobaoUsers1, *job);
    } catch (...) {
      found = false;  // whatever happens, the window hears exactly once
    }
    auto* notice = new QEvent(found ? WM_SEARCH_DONE : WM_SEARCH_FAILED);
    HandOff(notice);  // the job's results travel with the notice
    QCoreApplication::postEvent(this, notice);
    search_running_ = false;
  });
  SetSearchControlsEnabled(false);
}

void TForm1::NormaliseRanges() {
  if (ui->SpinEdit1->value() > ui->SpinEdit2->value()) {
    const int low = ui->SpinEdit2->value();
    ui->SpinEdit2->setValue(ui->SpinEdit1->value());
    ui->SpinEdit1->setValue(low);
  }
  if (ui->ComboBoxEx1->currentIndex() > ui->ComboBoxEx2->currentIndex()) {
    const int low = ui->ComboBoxEx2->currentIndex();
    ui->ComboBoxEx2->setCurrentIndex(ui->ComboBoxEx1->currentIndex());
    ui->ComboBoxEx1->setCurrentIndex(low);
  }
}

SearchControls TForm1::CopyControls() const {
  SearchControls c;
  c.keyword = ui->Edit1->text().toStdString();
  c.low_price = ui->SpinEdit1->value();
  c.high_price = ui->SpinEdit2->value();
  c.low_credit = ui->ComboBoxEx1->currentIndex();
  c.high_credit = ui->ComboBoxEx2->currentIndex();
  c.area_index = ui->ComboBox3->currentIndex();
  c.area_text = ui->ComboBox3->currentText().toStdString();
  c.sort_index = ui->ComboBox2->currentIndex();
  c.category_id = CategoryId;
  c.page_no = page_no_;
  return c;
}

void TForm1::SetSearchControlsEnabled(bool enabled) {
  for (QWidget* w : {static_cast<QWidget*>(ui->Edit1), static_cast<QWidget*>(ui->ComboBox2),
                     static_cast<QWidget*>(ui->ComboBox3), static_cast<QWidget*>(ui->SpinEdit1),
                     static_cast<QWidget*>(ui->SpinEdit2), static_cast<QWidget*>(ui->ComboBoxEx1),
                     static_cast<QWidget*>(ui->ComboBoxEx2), static_cast<QWidget*>(ui->Button1),
                     static_cast<QWidget*>(ui->Button2), static_cast<QWidget*>(ui->WebBrowser1)}) {
    w->setEnabled(enabled);
  }
}

void TForm1::SearchDone() {
  Rows = job_->rows;
  item_.cond = job_->items.cond;
  paged_from_.reset();
  timing_.DataBack();
  ShowHtml(BuildResultsPage(Rows), LinksOfPage(Rows));
  timing_.PageHanded();
  EndSearch();
}

void TForm1::SearchFailed() {
  item_.cond = job_->items.cond;
  const FailureWords why = config_problem_ ? config_problem_->words : DescribeFailure(job_->error);
  // The configuration's problem was said when it was found.
  if (!config_problem_) Say("search failed: " + why.en, job_->error.message);
  // A failed paging search goes back to the page that was shown, so that
  // its paging links try the same page again.
  if (paged_from_) {
    page_no_ = paged_from_->page_no;
    Rows = std::move(paged_from_->rows);
    paged_from_.reset();
    ShowHtml(BuildResultsPage(Rows), LinksOfPage(Rows));
  }
  EndSearch();
  QString text = QString::fromUtf8(kNotFound);
  if (!why.zh.empty()) text += QLatin1Char('\n') + QString::fromStdString(why.zh);
  services_.warnings->Warn(this, Caption(), text);
}

// The window is usable again, and the tree highlights what was searched.
void TForm1::EndSearch() {
  SetSearchControlsEnabled(true);
  SetCaption(Caption());
  busy_ = false;
  RestoreTreeHighlight();
  RestoreFocus();
}

// A skin's colours for the page go first in its content (a style element in
// the body applies to the whole document), so that the fixed head stays.
void TForm1::ShowHtml(const std::string& text, LinkTable links) {
  const std::string& css = SkinData1.page_css();
  if (css.empty() || !text.starts_with(kPageHead)) {
    writer_->Write(text, std::move(links));
    return;
  }
  std::string page(kPageHead);
  page += "<style>" + css + "</style>";
  page.append(text, kPageHead.size(), std::string::npos);
  writer_->Write(page, std::move(links));
}

void TForm1::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace orvalen
