#pragma once

#include <QPointer>
#include <QWidget>

#include "messages.h"

namespace ravell {

// Message boxes as real dialogs, owned by a window.
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  MsgResult Show(const QString& text, const QString& caption, MsgIcon icon,
                 MsgButtons buttons) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace ravell
