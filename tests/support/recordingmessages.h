#pragma once
// Message boxes that answer from a field and remember what they showed.

#include <QList>
#include <QString>
#include <QStringList>

#include "messages.h"

namespace ravell::testing {

struct ShownMessage {
  QString text;
  QString caption;
  MsgIcon icon;
};

class RecordingMessages : public MessageBoxes {
 public:
  MsgResult Show(const QString& text, const QString& caption, MsgIcon icon, MsgButtons) override {
    shown.append({text, caption, icon});
    return answer;
  }
  QStringList Texts() const {
    QStringList texts;
    for (const ShownMessage& m : shown) texts << m.text;
    return texts;
  }
  QList<ShownMessage> shown;
  MsgResult answer = MsgResult::kOk;
};

}  // namespace ravell::testing
