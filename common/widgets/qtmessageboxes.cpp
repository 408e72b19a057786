#include "qtmessageboxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ravell {

MsgResult QtMessageBoxes::Show(const QString& text, const QString& caption, MsgIcon icon,
                               MsgButtons buttons) {
  QMessageBox box(owner_);
  box.setWindowTitle(!caption.isEmpty()            ? caption
                     : !default_caption_.isEmpty() ? default_caption_
                                                   : QApplication::applicationName());
  box.setText(text);
  switch (icon) {
    case MsgIcon::kNone:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MsgIcon::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MsgIcon::kWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MsgIcon::kError:
      box.setIcon(QMessageBox::Critical);
      break;
    case MsgIcon::kQuestion:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case MsgButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MsgButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MsgButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MsgButtons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MsgResult::kYes;
    case QMessageBox::No:
      return MsgResult::kNo;
    case QMessageBox::Cancel:
      return MsgResult::kCancel;
    default:
      return MsgResult::kOk;
  }
}

}  // namespace ravell
