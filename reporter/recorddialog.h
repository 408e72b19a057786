#pragma once

#include <QDialog>

#include "messages.h"
#include "recordediting.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace ravell {

// The record dialog (Form3) of Change and Insert: project, rate, task, date
// and the three linked times. Created once and filled afresh for every use.
class RecordDialogForm : public QDialog, public RecordDialog {
  Q_OBJECT

 public:
  explicit RecordDialogForm(MessageBoxes& messages, QWidget* parent = nullptr);

  void SetMessages(MessageBoxes& messages) { messages_ = &messages; }
  bool Execute(RecordDialogValues& values) override;
  // Fills the controls; Execute does it before showing the dialog.
  void Fill(const RecordDialogValues& values);
  // What the controls hold now.
  RecordDialogValues Values() const;

  QComboBox* ComboProject() const { return combo_project_; }
  QLineEdit* Rate() const { return rate_; }
  QComboBox* ComboTasks() const { return combo_tasks_; }
  QDateEdit* RecordDate() const { return record_date_; }
  QTimeEdit* TimeStart() const { return time_start_; }
  QTimeEdit* TimeEnd() const { return time_end_; }
  QTimeEdit* TimeDelta() const { return time_delta_; }
  QPushButton* ButOK() const { return but_ok_; }
  QPushButton* ButCancel() const { return but_cancel_; }

  // Handlers of the controls.
  void ButOKClick();
  void TimeStartChange();
  void TimeEndChange();
  void TimeDeltaChange();
  void ComboProjectChange(const QString& project);

 private:
  void ShowTimes(const LinkedTimes& times);
  LinkedTimes Times() const;

  MessageBoxes* messages_;
  RecordDialogValues values_;  // the lists' source and the clock of this use

  QComboBox* combo_project_;
  QLineEdit* rate_;
  QComboBox* combo_tasks_;
  QDateEdit* record_date_;
  QTimeEdit* time_start_;
  QTimeEdit* time_end_;
  QTimeEdit* time_delta_;
  QPushButton* but_ok_;
  QPushButton* but_cancel_;
};

}  // namespace ravell
