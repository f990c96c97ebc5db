#include "app/form/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace orvalen {

// A fresh QMimeData holding text only, so that nothing else the clipboard
// held travels with it.
void SystemClipboard::SetText(const QString& text) {
  auto* data = new QMimeData;
  data->setText(text);
  QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

}  // namespace orvalen
