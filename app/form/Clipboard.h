// Clipboard: where the window puts what the user copies. The program's own
// implementation is SystemClipboard; tests may hand in their own.
#pragma once

#include <QString>

namespace orvalen {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with `text`, as plain text only.
  virtual void SetText(const QString& text) = 0;
};

}  // namespace orvalen
