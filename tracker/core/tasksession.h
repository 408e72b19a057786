#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "clock.h"
#include "datetime.h"

namespace ravell {

class Tracker;

enum class SessionState { kStopped, kRunning, kPaused };
enum class TrayImage { kIdle, kRunning, kPaused, kSaving };

// The commands whose state the session decides; menus mirror them.
struct CommandStates {
  bool start_new = true;
  bool pause = false;
  bool pause_down = false;
  bool stop = false;
  bool insert_task = true;
};

// Results of the task dialog in its "Pause" mode.
enum PauseOutcome { kCreateTask = 1, kCancelPause = 2, kSkipThisTime = 5 };

struct PauseAnswer {
  int result = kCancelPause;
  QString project;
  QString task;
};

// What the session asks of the windows. Tests script it.
class SessionUi {
 public:
  virtual ~SessionUi() = default;
  virtual PauseAnswer AskPauseTask() = 0;
  // The plan dialog; nullopt when cancelled.
  virtual std::optional<QString> AskPlan(const QString& current_plan) = 0;
  virtual int ShowAlarm(const QString& message, const QString& task, const QString& project) = 0;
  virtual void ShowMainWindow() = 0;
  virtual void TrayImageChanged(TrayImage image) = 0;
  virtual void CommandsChanged() = 0;
  virtual void FocusLogRow(int row) = 0;
};

// The started task joins the to-do tree (filled in by the tree).
class ToDoLink {
 public:
  virtual ~ToDoLink() = default;
  virtual void AddStartedTask(const QString& project, const QString& task) = 0;
};

// Start, pause, switch and stop of tasks on today's log, and the one-second
// tick. Every closed interval is saved at once; a failed save is reported and
// the command still completes, so the log in memory stays consistent and the
// next save writes it whole.
class TaskSession {
 public:
  explicit TaskSession(Tracker& tracker);

  void SetUi(SessionUi* ui) { ui_ = ui; }
  void SetToDo(ToDoLink* todo) { todo_ = todo; }

  SessionState state() const;
  const CommandStates& commands() const { return commands_; }
  TrayImage tray_image() const { return tray_image_; }
  bool plan_alarm_armed() const { return plan_alarm_armed_; }
  void ArmPlanAlarm() { plan_alarm_armed_ = true; }
  // The day today's log holds; a tick on a later date rolls over.
  QDate log_date() const { return log_date_; }
  void SetLogDate(const QDate& date) { log_date_ = date; }
  bool pause_dialog_open() const { return pause_dialog_open_; }

  // from_dialog: started from the task dialog, so the task joins the to-do tree.
  void NewTask(const QString& project, const QString& name, bool from_dialog = false);
  void SaveTask(const QString& name, const QString& project, DateTime end, DateTime start,
                const QString& task_id);
  void PauseButtonClick();
  void StopButtonClick();
  void TotalListDblClick(int selected);
  void SwithToTask1Click(int index);
  // The tick after setup mode was handled; see Tracker::Timer1Timer.
  void Tick();
  void RolloverIfNewDay();
  void ExtendPlan();
  void AskPlanTime();
  void RolloverDay();

 private:
  void StartTask(const QString& project, const QString& name, bool from_dialog, const Moment& now);
  void StopAt(const Moment& end);
  void CloseLastRow(const Moment& end);
  void SetTray(TrayImage image);
  void Changed();
  void PlanAlarm();
  void AutoSave(const Moment& now);

  Tracker& tracker_;
  SessionUi* ui_ = nullptr;
  ToDoLink* todo_ = nullptr;
  CommandStates commands_;
  TrayImage tray_image_ = TrayImage::kIdle;
  bool plan_alarm_armed_ = false;
  bool pause_dialog_open_ = false;
  bool rollover_busy_ = false;
  QDate log_date_;
  QString bad_auto_save_interval_;
};

}  // namespace ravell
