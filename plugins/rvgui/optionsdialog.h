#pragma once

#include <QDialog>
#include <functional>

#include "optionsmodel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimeEdit;

namespace ravell {

// The options of ravell.ini. OK saves every key through the model and stays
// open when a value is refused or the file cannot be written; Cancel writes
// nothing.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  OptionsDialog(OptionsModel& model, bool setup_mode, QWidget* parent = nullptr);

  // Shows why OK did not close the dialog; a message box unless replaced.
  void SetErrorSink(std::function<void(const QString&)> sink) { error_sink_ = std::move(sink); }

  OptionsValues Values() const;

  void accept() override;

 private:
  void SetValues(const OptionsValues& values);
  void ChooseDataBase();
  void ShowError(const QString& message);

  OptionsModel& model_;
  std::function<void(const QString&)> error_sink_;
  QComboBox* target_ = nullptr;
  QCheckBox* hide_splash_ = nullptr;
  QCheckBox* hide_to_tray_ = nullptr;
  QCheckBox* load_notes_todo_ = nullptr;
  QCheckBox* auto_save_ = nullptr;
  QTimeEdit* interval_ = nullptr;
  QLineEdit* server_ = nullptr;
  QLineEdit* database_ = nullptr;
  QLineEdit* password_ = nullptr;
};

}  // namespace ravell
