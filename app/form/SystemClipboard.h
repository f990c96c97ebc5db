// SystemClipboard: Clipboard as the desktop's clipboard (QClipboard).
#pragma once

#include "app/form/Clipboard.h"

namespace orvalen {

class SystemClipboard : public Clipboard {
 public:
  void SetText(const QString& text) override;
};

}  // namespace orvalen
