#pragma once

#include <QString>

namespace ravell {

enum class MsgIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MsgButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MsgResult { kOk, kCancel, kYes, kNo };

// Message boxes reach the models through this, so tests can answer them.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // An empty caption means the application's title.
  virtual MsgResult Show(const QString& text, const QString& caption = QString(),
                         MsgIcon icon = MsgIcon::kNone, MsgButtons buttons = MsgButtons::kOk) = 0;
};

}  // namespace ravell
