// TForm1: the results' own menu, on an item or a seller: open it as a click
// does, copy the member's affiliate link or a share text, or show the link
// as a QR code for a phone. Every link comes from the link decision and the
// seller chain, and only web addresses are ever handed out.
#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineView>

#include "app/form/BusyCursor.h"
#include "app/form/QrDialog.h"
#include "app/form/TForm1.h"
#include "app/form/core/ShareText.h"
#include "app/page/PageWriter.h"
#include "config/SellerChain.h"
#include "config/SiteConfig.h"
#include "openapi/FailureWords.h"
#include "platform/WebAddress.h"
#include "ui_TForm1.h"

namespace orvalen {
namespace {

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The engine asks for a menu on a right click, the Menu key or Shift+F10;
// the window's own menu answers it on an item or a seller, and nothing does
// anywhere else.
void TForm1::SetUpLinkMenu() {
  ui->WebBrowser1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui->WebBrowser1, &QWidget::customContextMenuRequested, this, &TForm1::ShowLinkMenu);
}

void TForm1::ShowLinkMenu(const QPoint& at) {
  const QWebEngineContextMenuRequest* request = ui->WebBrowser1->lastContextMenuRequest();
  if (request == nullptr) return;
  const LinkDecision decision = writer_->Decide(request->linkUrl());
  if (decision.action != LinkAction::OpenItem && decision.action != LinkAction::Seller) return;
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("LinkMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const auto add = [this, menu](const char* text, std::function<void()> act) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    connect(action, &QAction::triggered, this, std::move(act));
    return action;
  };
  const std::string target = decision.target;
  if (decision.action == LinkAction::OpenItem) {
    menu->setAccessibleName(QStringLiteral("商品"));
    const bool web = IsWebAddress(target);
    for (QAction* action :
         {add("在浏览器中打开", [this, decision] { ActOnLink(decision); }),
          add("复制推广链接", [this, target] { services_.clipboard->SetText(Q(target)); }),
          add("复制分享文字", [this, target] { services_.clipboard->SetText(Q(ShareOf(target))); }),
          add("手机扫码…", [this, target] { ShowQrCode(target); })}) {
      action->setEnabled(web);  // as a click opens nothing, nothing is shared
    }
  } else {
    menu->setAccessibleName(QStringLiteral("卖家 ") + Q(target));
    add("打开店铺", [this, decision] { ActOnLink(decision); });
    add("复制店铺推广链接", [this, target] {
      if (const auto link = ShopLinkFor(target, "无法复制店铺推广链接")) {
        services_.clipboard->SetText(Q(*link));
      }
    });
    add("手机扫码…", [this, target] {
      if (const auto link = ShopLinkFor(target, "无法显示店铺的二维码")) ShowQrCode(*link);
    });
  }
  menu->popup(ui->WebBrowser1->mapToGlobal(at));
}

// The item's share text, from the row the page shows for its click URL.
std::string TForm1::ShareOf(const std::string& click_url) const {
  for (const Info& row : Rows) {
    if (row.click_url == click_url) return ShareText(row);
  }
  return click_url;
}

void TForm1::ShowQrCode(const std::string& link) {
  auto* dialog =
      new QrDialog(link, {services_.clipboard, services_.warnings, services_.choose_file}, this);
  dialog->open();
}

// The seller's shop as the member's affiliate link, for copying or a QR
// code; a failure is said in the window in one line (`what` and why), and
// on standard error.
std::optional<std::string> TForm1::ShopLinkFor(const std::string& nick, const char* what) {
  const ShopLink link = FetchShopLink(nick);
  FailureWords why;
  if (link.error.kind != FetchError::Kind::None) {
    why = DescribeFailure(link.error);
  } else if (!IsWebAddress(link.click_url)) {
    why = DescribeLinkNotAWebAddress();
  } else {
    return link.click_url;
  }
  Say("the shop link of " + nick + " not shared: " + why.en, link.error.message);
  services_.warnings->Warn(this, Caption(),
                           QString::fromUtf8(what) + QStringLiteral("：") + Q(why.zh));
  return std::nullopt;
}

// The seller chain, with the wait cursor.
ShopLink TForm1::FetchShopLink(const std::string& nick) {
  const BusyCursor busy;
  return orvalen::FetchShopLink(XMLData1, Keys(), TaobaoShop1, TaobaokeShop1, nick);
}

}  // namespace orvalen
