#pragma once

#include <QPointer>
#include <QWidget>

#include "messages.h"

namespace ravell {

// Message boxes as real dialogs, owned by a window. An empty caption shows
// the default caption, or the application's name when there is none.
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* owner = nullptr, QString default_caption = QString())
      : owner_(owner), default_caption_(std::move(default_caption)) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  MsgResult Show(const QString& text, const QString& caption, MsgIcon icon,
                 MsgButtons buttons) override;

 private:
  QPointer<QWidget> owner_;
  QString default_caption_;
};

}  // namespace ravell
