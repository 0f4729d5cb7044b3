#pragma once

#include "platform/MessageBoxes.h"

namespace platform {

// QMessageBox, with Spanish button texts.
class QtMessageBoxes final : public MessageBoxes {
 public:
  MsgAnswer Show(const QString& text, const QString& title, MsgIcon icon,
                 MsgButtons buttons) override;
};

}  // namespace platform
