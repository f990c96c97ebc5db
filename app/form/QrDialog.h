// QrDialog: "手机扫码", one link as a QR code a phone reads from the
// screen, the link as selectable text under it, and buttons to copy the
// link, save the code as a PNG picture and close.
//
//   auto* dialog = new QrDialog(click_url, {.clipboard = c, .warnings = w}, window);
//   dialog->open();   // window-modal; deletes itself when closed
//
// The code (QrCode: level M, byte mode) is drawn with a quiet zone of four
// modules and at least four device pixels per module, whatever the screen's
// scale. The picture is named "二维码" for screen readers. As a child of the
// window, the dialog takes the window's skin. A link that is too long for a
// code shows the link alone, and says so.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <optional>

#include "app/form/Clipboard.h"
#include "app/form/WarningBox.h"
#include "app/form/core/QrCode.h"

class QLabel;

namespace orvalen {

struct QrDialogServices {
  std::shared_ptr<Clipboard> clipboard;
  std::shared_ptr<WarningBox> warnings;
  // Where to save the picture (the suggested name given); empty: not saved.
  // Null: the desktop's file dialog.
  std::function<QString(QWidget* parent, const QString& suggested)> choose_file;
};

class QrDialog : public QDialog {
  Q_OBJECT
 public:
  QrDialog(const std::string& link, QrDialogServices services, QWidget* parent);

 private:
  // The code as drawn, `pixels` device pixels per module, quiet zone included.
  static QImage Draw(const QrCode& code, int pixels);

  void ShowCode(QLabel* picture);
  void SavePicture();

  std::string link_;
  std::optional<QrCode> code_;  // none when the link has no code
  QrDialogServices services_;
};

}  // namespace orvalen
