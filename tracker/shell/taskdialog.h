#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace ravell {

// All the task dialog knows of the tracker. The hooks run inside the dialog's
// event handling, so they report their own errors instead of throwing.
struct TaskDialogHooks {
  // The projects to offer, without "Undefined" (the dialog appends it).
  QStringList projects;
  // The project list's rate text for a project.
  std::function<QString(const QString& project)> rate_text;
  // The planned tasks under the project's to-do tree node; may be unset.
  std::function<QStringList(const QString& project)> planned_tasks;
  // Confirming in mode "New": start the task.
  std::function<void(const QString& project, const QString& task)> new_task;
  // Confirming in mode "Insert": insert the record.
  std::function<void(const QString& project, const QString& task, QTime start, QTime end)>
      insert_task;
  // Tells why a confirmation was refused; a warning message box when unset.
  std::function<void(const QString& text)> warn;
};

// The task dialog TForm2: project, task name and, for records, an interval.
// What it shows and what confirming does depend on the mode text set before
// showing: "New", "Insert", "Pause", "Add ToDo" or "Change".
//
// The parent is used for ownership and to centre on, nothing else: the
// dialog never shows or raises it, so confirming from the tray leaves a
// hidden main window hidden. A hidden parent centres the dialog on its screen.
class TaskDialog : public QDialog {
  Q_OBJECT
 public:
  // exec() results, as the openers read them.
  enum Result { kOk = 1, kCancel = 2, kIgnore = 5 };

  explicit TaskDialog(TaskDialogHooks hooks, QWidget* parent = nullptr);

  // False (and the mode unchanged) for an unknown mode text.
  bool SetMode(const QString& mode);
  QString mode() const;

  void SetProjectText(const QString& project);
  void SetTaskText(const QString& task);
  // Whole seconds; the delta follows from the two.
  void SetTimes(QTime start, QTime end);

  QString ProjectText() const;
  QString TaskText() const;
  QString RateText() const;
  QTime StartTime() const;
  QTime EndTime() const;
  QTime DeltaTime() const;

  void FormShow();
  void ComboProjectChange();
  void DoOk();

  void setVisible(bool visible) override;
  // Every way of closing but a confirmation gives Cancel (2).
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Mode { kNew, kInsert, kPause, kAddToDo, kChange };

  void InitProjects();
  bool Edit1KeyPress(QKeyEvent* event);
  void TimeStartChange();
  void TimeEndChange();
  void TimeDeltaChange();
  void CreateTaskButtonClick();
  // Each warns and answers false when the dialog must stay open.
  bool NamesAcceptable();
  bool IntervalAcceptable();
  void Warn(const QString& text);
  void LayOut();
  void CentreOnOwner();

  TaskDialogHooks hooks_;
  Mode mode_ = Mode::kNew;
  bool linking_times_ = false;

  QLabel* project_label_;
  QComboBox* combo_project_;
  QLabel* task_label_;
  QComboBox* edit1_;
  QPushButton* speed_button1_;
  QLabel* start_label_;
  QTimeEdit* time_start_;
  QLabel* end_label_;
  QTimeEdit* time_end_;
  QLabel* delta_label_;
  QTimeEdit* time_delta_;
  QPushButton* skip_time_button_;
  QPushButton* create_task_button_;
  QPushButton* cancel_pause_button_;
  QLineEdit* rate_;
};

}  // namespace ravell
