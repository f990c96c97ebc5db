#include "app/form/QrDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/form/core/QrCode.h"

namespace orvalen {
namespace {

constexpr int kMinimumModulePixels = 4;
constexpr int kTargetLogicalSize = 240;  // about the size phones read best from a screen
constexpr int kSavedModulePixels = 8;

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ChooseWithDialog(QWidget* parent, const QString& suggested) {
  return QFileDialog::getSaveFileName(parent, QStringLiteral("保存图片"), suggested,
                                      QStringLiteral("PNG 图片 (*.png)"));
}

}  // namespace

QrDialog::QrDialog(const std::string& link, QrDialogServices services, QWidget* parent)
    : QDialog(parent), link_(link), code_(QrCode::Encode(link)), services_(std::move(services)) {
  if (!services_.choose_file) services_.choose_file = ChooseWithDialog;
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("手机扫码"));
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("QrPicture"));
  picture->setAccessibleName(QStringLiteral("二维码"));
  picture->setAlignment(Qt::AlignCenter);
  layout->addWidget(picture);
  // Wrapped anywhere (a link has no spaces), selectable, never edited.
  auto* text = new QPlainTextEdit(Q(link_), this);
  text->setObjectName(QStringLiteral("QrLink"));
  text->setAccessibleName(QStringLiteral("推广链接"));
  text->setReadOnly(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text->setWordWrapMode(QTextOption::WrapAnywhere);
  text->setFixedHeight(text->fontMetrics().lineSpacing() * 4 + 12);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(this);
  auto* copy = buttons->addButton(QStringLiteral("复制链接"), QDialogButtonBox::ActionRole);
  auto* save = buttons->addButton(QStringLiteral("保存图片…"), QDialogButtonBox::ActionRole);
  auto* close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(copy, &QPushButton::clicked, this, [this] { services_.clipboard->SetText(Q(link_)); });
  connect(save, &QPushButton::clicked, this, &QrDialog::SavePicture);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  close->setDefault(true);
  ShowCode(picture);
}

QImage QrDialog::Draw(const QrCode& code, int pixels) {
  const int side = (code.width() + 2 * kQuietZone) * pixels;
  QImage image(side, side, QImage::Format_Grayscale8);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int y = 0; y < code.width(); ++y) {
    for (int x = 0; x < code.width(); ++x) {
      if (!code.Dark(x, y)) continue;
      painter.fillRect((x + kQuietZone) * pixels, (y + kQuietZone) * pixels, pixels, pixels,
                       Qt::black);
    }
  }
  return image;
}

// Whole device pixels per module, never fewer than four, for a picture of
// about the target size on this screen.
void QrDialog::ShowCode(QLabel* picture) {
  if (!code_) {
    picture->setText(QStringLiteral("链接太长，无法生成二维码"));
    return;
  }
  const qreal ratio = devicePixelRatioF();
  const int modules = code_->width() + 2 * kQuietZone;
  const int pixels = std::max(kMinimumModulePixels,
                              static_cast<int>(std::floor(kTargetLogicalSize * ratio / modules)));
  QPixmap pixmap = QPixmap::fromImage(Draw(*code_, pixels));
  pixmap.setDevicePixelRatio(ratio);
  picture->setPixmap(pixmap);
}

void QrDialog::SavePicture() {
  const QString suggested = QDir(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
                                .filePath(QStringLiteral("二维码.png"));
  const QString file = services_.choose_file(this, suggested);
  if (file.isEmpty()) return;
  if (!code_ || !Draw(*code_, kSavedModulePixels).save(file, "PNG")) {
    services_.warnings->Warn(this, windowTitle(), QStringLiteral("无法保存图片：") + file);
  }
}

}  // namespace orvalen
